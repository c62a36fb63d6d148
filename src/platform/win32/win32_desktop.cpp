#include "win32_desktop.h"

#include <algorithm>
#include <utility>

#include "control_peers.h"
#include "keyboard_navigation.h"
#include "page_peers.h"
#include "resource.h"
#include "toolkit/form.h"
#include "toolkit/keyboard_order.h"
#include "wide_text.h"
#include "window_classes.h"
#include "window_guard.h"

namespace lt::win32 {
namespace {

HFONT dialogFont(bool underline, int dpi) {
    // The TrueType face of "MS Sans Serif", with its design and metrics, 8 points at the
    // density of the form's screen. The bitmap "MS Sans Serif" comes in the system's ANSI
    // code page only, so Russian drew as boxes or wrong letters on a system that is not
    // Cyrillic. Asking for the Cyrillic character set (not the system's default) makes the
    // font mapper take a face that has it, on any system locale; every Windows from XP on
    // has it in "Microsoft Sans Serif".
    return CreateFontW(-MulDiv(8, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, underline, FALSE, RUSSIAN_CHARSET, OUT_TT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Microsoft Sans Serif");
}

bool isDrawn(const Control& c) { return c.kind() == ControlKind::Shape || c.kind() == ControlKind::Line; }

bool overlaps(const Control& a, const Control& b) {
    return a.left() < b.left() + b.width() && b.left() < a.left() + a.width() && a.top() < b.top() + b.height() &&
           b.top() < a.top() + a.height();
}

// Steps from the top of the window's siblings.
int depth(HWND w) {
    int n = 0;
    while ((w = GetWindow(w, GW_HWNDPREV))) ++n;
    return n;
}

// Later controls lie on top of earlier ones, as the form's hit test takes them. The
// siblings lie in reading order, so only a control that covers an earlier sibling is lifted,
// to just above the highest of those it covers, and everything else keeps its place. Tab
// does not follow the windows' order (keyboard_navigation.h).
void stackOverlaps(const std::vector<Control*>& children) {
    constexpr UINT kOnlyOrder = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    for (size_t i = 0; i < children.size(); ++i) {
        HWND w = isDrawn(*children[i]) ? nullptr : windowOf(*children[i]);
        if (!w) continue;
        HWND covered = nullptr;
        for (size_t j = 0; j < i; ++j) {
            HWND e = isDrawn(*children[j]) ? nullptr : windowOf(*children[j]);
            if (e && overlaps(*children[i], *children[j]) && (!covered || depth(e) < depth(covered))) covered = e;
        }
        if (!covered || depth(w) < depth(covered)) continue;
        HWND above = GetWindow(covered, GW_HWNDPREV);
        SetWindowPos(w, above ? above : HWND_TOP, 0, 0, 0, 0, kOnlyOrder);
    }
}

}  // namespace

Win32Desktop::Win32Desktop(HINSTANCE instance)
    : instance_(instance),
      icon_(LoadIconW(instance, MAKEINTRESOURCEW(kProgramIcon))),
      smallIcon_(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kProgramIcon), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0))) {
    registerWindowClasses(instance, icon_);
}

Win32Desktop::~Win32Desktop() {
    destroyWindows();
    for (auto& [key, font] : fonts_) DeleteObject(font);
    if (smallIcon_) DestroyIcon(smallIcon_);
    for (auto& [colour, brush] : brushes_) DeleteObject(brush);
}

HFONT Win32Desktop::font(bool underline, int dpi) {
    HFONT& font = fonts_[{dpi, underline}];
    if (!font) font = dialogFont(underline, dpi);
    return font;
}

void Win32Desktop::attach(Application* app) {
    app_ = app;
    reportFailuresTo(app);
}

void Win32Desktop::realize(Form& form) {
    realizeTree(form, main_);
    if (!main_) main_ = windowOf(form);
}

// Under Wine a child window costs milliseconds to create (a combo box about ten), so the
// children of what is not shown yet (the other forms, the pages behind the first) are
// created once the main window is up, when the message loop is idle, or at once when
// their form or page is shown first.
void Win32Desktop::realizeTree(Control& control, HWND parent) {
    auto peer = makePeer(control, *this);
    WindowPeer& p = *peer;
    peers_.push_back(std::move(peer));
    p.create(parent);
    if (auto* pages = dynamic_cast<PageControlPeer*>(&p)) pages->addTabs();
    const bool deferrable =
        control.kind() == ControlKind::TabSheet || (control.kind() == ControlKind::Form && main_);
    if (deferrable && !p.shown() && !control.children().empty()) pending_.push_back(&p);
    else createChildren(p);
}

void Win32Desktop::realizeChildren(WindowPeer& peer) {
    const auto it = std::find(pending_.begin(), pending_.end(), &peer);
    if (it == pending_.end()) return;
    pending_.erase(it);
    createChildren(peer);
}

void Win32Desktop::createChildren(WindowPeer& p) {
    Control& control = p.control();
    for (Control* child : control.children()) realizeTree(*child, p.container());
    // Siblings lie in reading order (toolkit/keyboard_order.h), the order in which the
    // system's dialog manager (the arrow keys in a group) and assistive tools take them,
    // and a field comes right after the label before it; drawn shapes lie beneath all other
    // controls, the first created lowest, as the form library paints them.
    constexpr UINT kOnlyOrder = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    for (Control* child : readingOrder(control.children()))
        if (HWND w = windowOf(*child)) SetWindowPos(w, HWND_BOTTOM, 0, 0, 0, 0, kOnlyOrder);
    const auto& children = control.children();
    for (auto it = children.rbegin(); it != children.rend(); ++it)
        if (isDrawn(**it))
            if (HWND w = windowOf(**it)) SetWindowPos(w, HWND_BOTTOM, 0, 0, 0, 0, kOnlyOrder);
    stackOverlaps(children);
    p.afterChildren();
}

bool Win32Desktop::idleStep() {
    if (trayToShow_) {
        TrayIcon& icon = *std::exchange(trayToShow_, nullptr);
        tray_ = std::make_unique<TrayHost>(icon, instance_, smallIcon_, [this](const std::function<void()>& a) { run(a); });
        return true;
    }
    if (pending_.empty()) return false;
    realizeChildren(*pending_.front());
    return true;
}

void Win32Desktop::destroyWindows() {
    tray_.reset();
    trayToShow_ = nullptr;
    pending_.clear();
    std::vector<HWND> forms;
    for (auto& peer : peers_)
        if (peer->control().kind() == ControlKind::Form) forms.push_back(peer->window());
    peers_.clear();  // detaches the controls first, so no change reaches a dead window
    for (HWND w : forms) DestroyWindow(w);
    main_ = nullptr;
}

// The shell's tray takes a round trip through the desktop process: added right after the
// main window is shown rather than before it.
void Win32Desktop::showTrayIcon(TrayIcon& icon) { trayToShow_ = &icon; }

// The form of ours in front: the first shown, enabled one in the stacking order (the setup
// dialog stays on top of everything, the cadence editor lies above the main window that
// owns it).
HWND Win32Desktop::frontForm() const {
    const std::vector<HWND> forms = formWindows();
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT))
        if (std::find(forms.begin(), forms.end(), w) != forms.end() && IsWindowVisible(w) && IsWindowEnabled(w))
            return w;
    return nullptr;
}

std::vector<HWND> Win32Desktop::formWindows() const {
    std::vector<HWND> forms;
    for (const auto& peer : peers_)
        if (peer->control().kind() == ControlKind::Form) forms.push_back(peer->window());
    return forms;
}

// No window of ours may respond while a box is up: a user could otherwise start a request
// while the failed handler's box still waits. The box is owned by the form in front, also
// when another program is active, and disables it; the other forms are disabled beside it
// and then set back as their forms say. With no form shown (the program in the tray) the
// box is task-modal, which disables every window of the thread.
void Win32Desktop::messageBox(const std::string& text, const std::string& caption, MessageKind kind) {
    HWND owner = frontForm();
    std::vector<HWND> others;
    for (HWND w : formWindows())
        if (w != owner && IsWindowEnabled(w)) others.push_back(w);
    for (HWND w : others) EnableWindow(w, FALSE);
    const UINT style = MB_OK | (kind == MessageKind::Error ? MB_ICONERROR : 0) | (owner ? 0 : MB_TASKMODAL);
    // The box takes the focus from a disabled owner before the owner hears it is left.
    HWND focus = GetFocus();
    MessageBoxW(owner, widen(text).c_str(), widen(caption).c_str(), style);
    for (HWND w : others)
        if (WindowPeer* peer = peerOf(w)) EnableWindow(w, peer->control().enabled());
    if (owner && GetActiveWindow() == owner && IsChild(owner, focus)) giveFocusBack(focus);
}

void Win32Desktop::processMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // for the loop that waits on it
            return;
        }
        if (!dialogNavigation(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

void Win32Desktop::runMessageLoop() {
    MSG msg;
    for (;;) {
        // Input and painting first; the work left over goes one piece at a time.
        while (!PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) && idleStep()) {
        }
        if (GetMessageW(&msg, nullptr, 0, 0) <= 0) break;
        if (!dialogNavigation(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

bool Win32Desktop::dialogNavigation(MSG& msg) {
    // The keys of the form that has the message: Tab, the page keys and Enter as the form
    // takes them (keyboard_navigation.h), the rest (the arrow keys) by the dialog manager.
    HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (!root) return false;
    WindowPeer* peer = peerOf(root);
    if (!peer || peer->control().kind() != ControlKind::Form) return false;
    bool taken = false;
    guarded([&] { taken = navigateByKeyboard(msg, root, static_cast<Form&>(peer->control())); });
    return taken || IsDialogMessageW(root, &msg);
}

void Win32Desktop::quit() { PostQuitMessage(0); }

void Win32Desktop::hideApplicationWindow() {
    if (main_) ShowWindow(main_, SW_HIDE);
}

void Win32Desktop::restoreApplicationWindow() {
    if (!main_) return;
    ShowWindow(main_, SW_RESTORE);
    SetForegroundWindow(main_);
}

void Win32Desktop::run(const std::function<void()>& action) {
    if (app_) app_->run(action);
    else guarded(action);
}

void Win32Desktop::minimized(Form& form) {
    if (app_ && windowOf(form) == main_) app_->minimized();
}

HBRUSH Win32Desktop::brush(COLORREF colour) {
    HBRUSH& slot = brushes_[colour];
    if (!slot) slot = CreateSolidBrush(colour);
    return slot;
}

}  // namespace lt::win32
