// The Win32 desktop: real windows for the forms, message boxes, the message loop, the
// application's top-level window (the main window) and the tray icon.
#pragma once
#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "system/desktop.h"
#include "toolkit/application.h"
#include "tray_host.h"
#include "window_peer.h"

namespace lt::win32 {

class Win32Desktop : public Desktop {
public:
    explicit Win32Desktop(HINSTANCE instance);
    ~Win32Desktop() override;

    // The application whose default handler runs every user action, reports what else
    // reaches a window procedure, and hears of the main window being minimised; nullptr
    // once it is gone.
    void attach(Application* app);

    void realize(Form& form) override;
    void showTrayIcon(TrayIcon& icon) override;
    void messageBox(const std::string& text, const std::string& caption, MessageKind kind) override;
    void processMessages() override;
    void runMessageLoop() override;
    void quit() override;
    void hideApplicationWindow() override;
    void restoreApplicationWindow() override;

    // Destroys every window while the controls still exist.
    void destroyWindows();

    // For the peers.
    void run(const std::function<void()>& action);
    void minimized(Form& form);
    HINSTANCE instance() const { return instance_; }
    HICON icon() const { return icon_; }
    // The icon at the size of a caption or the tray (the system's small icon size).
    HICON smallIcon() const { return smallIcon_; }
    // The controls' font at a screen density, made once for each.
    HFONT font(bool underline, int dpi);
    HBRUSH brush(COLORREF colour);
    // The first form realized: it owns the later ones and stands for the application.
    HWND mainWindow() const { return main_; }
    // Creates the windows of the peer's children if they still wait to be created; a
    // form or page calls it as it is shown.
    void realizeChildren(WindowPeer& peer);

private:
    void realizeTree(Control& control, HWND parent);
    void createChildren(WindowPeer& peer);
    // One piece of the work left for when the message loop has nothing else to do.
    bool idleStep();
    bool dialogNavigation(MSG& msg);
    std::vector<HWND> formWindows() const;
    HWND frontForm() const;

    HINSTANCE instance_;
    HICON icon_, smallIcon_;
    std::map<std::pair<int, bool>, HFONT> fonts_;  // by density and underline
    Application* app_ = nullptr;
    HWND main_ = nullptr;
    std::vector<std::unique_ptr<WindowPeer>> peers_;
    std::map<COLORREF, HBRUSH> brushes_;
    std::unique_ptr<TrayHost> tray_;
    TrayIcon* trayToShow_ = nullptr;
    // Hidden forms and pages whose children have no windows yet, in creation order.
    std::vector<WindowPeer*> pending_;
};

}  // namespace lt::win32
