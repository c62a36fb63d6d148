#include "accessible_object.h"

#include <oleacc.h>

#include <optional>
#include <string>

#include "toolkit/accessibility.h"
#include "toolkit/widgets.h"
#include "wide_text.h"
#include "window_peer.h"

// Interface ids by __uuidof: mingw's oleacc import library links IID_IAccessible as a thunk
// into the DLL, not as the GUID.

namespace lt::win32 {
namespace {

// The role Windows' own object gives each standard control; our drawn shapes are pictures.
// Nothing for the containers, which keep the system's object.
std::optional<long> roleOf(const Control& control) {
    switch (control.kind()) {
        case ControlKind::Label:
            return static_cast<const Label&>(control).isLink() ? ROLE_SYSTEM_LINK : ROLE_SYSTEM_STATICTEXT;
        case ControlKind::Edit:
        case ControlKind::Memo: return ROLE_SYSTEM_TEXT;
        case ControlKind::Button: return ROLE_SYSTEM_PUSHBUTTON;
        case ControlKind::ComboBox: return ROLE_SYSTEM_COMBOBOX;
        case ControlKind::CheckListBox: return ROLE_SYSTEM_LIST;
        case ControlKind::Slider: return ROLE_SYSTEM_SLIDER;
        case ControlKind::PageControl: return ROLE_SYSTEM_PAGETABLIST;
        case ControlKind::Shape:
        case ControlKind::Line: return ROLE_SYSTEM_GRAPHIC;
        case ControlKind::Form:
        case ControlKind::TabSheet:
        case ControlKind::GroupBox: break;
    }
    return std::nullopt;
}

// The children a control shows within its own window: a check list's items and a page
// control's tabs, numbered from 1 as child ids are.
struct Items {
    const Control& control;

    bool any() const {
        return control.kind() == ControlKind::CheckListBox || control.kind() == ControlKind::PageControl;
    }
    long count() const {
        if (control.kind() == ControlKind::CheckListBox)
            return static_cast<long>(static_cast<const CheckListBox&>(control).items().size());
        return static_cast<long>(static_cast<const PageControl&>(control).pages().size());
    }
    bool has(long child) const { return any() && child >= 1 && child <= count(); }
    std::string name(long child) const {
        if (control.kind() == ControlKind::CheckListBox)
            return static_cast<const CheckListBox&>(control).items()[child - 1];
        return static_cast<const PageControl&>(control).pages()[child - 1]->text();
    }
    long role() const { return control.kind() == ControlKind::CheckListBox ? ROLE_SYSTEM_LISTITEM : ROLE_SYSTEM_PAGETAB; }
    // The selected item, from the window: the user moves a list's selection without the control.
    bool selected(HWND window, long child) const {
        if (control.kind() == ControlKind::CheckListBox) return SendMessageW(window, LB_GETCURSEL, 0, 0) == child - 1;
        return static_cast<const PageControl&>(control).activePage() == child - 1;
    }
    // A check list item's mark is its value to the user.
    bool checked(long child) const {
        return control.kind() == ControlKind::CheckListBox &&
               static_cast<const CheckListBox&>(control).checked(static_cast<int>(child - 1));
    }
};

std::optional<long> childOf(const VARIANT& id) {
    if (id.vt != VT_I4) return std::nullopt;
    return id.lVal;
}

HRESULT answerText(const std::string& text, BSTR* out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (text.empty()) return S_FALSE;
    *out = SysAllocString(widen(text).c_str());
    return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT answerNumber(long number, VARIANT* out) {
    if (!out) return E_POINTER;
    VariantInit(out);
    out->vt = VT_I4;
    out->lVal = number;
    return S_OK;
}

// The system's object with what the control knows put over it. It holds the window, not
// the peer: a screen reader may keep the object after the window has gone, and each call
// then finds no peer and is the system's alone. Late-bound calls (IDispatch) are refused:
// they would reach the system's object past these answers.
class AccessibleObject final : public IAccessible, public IOleWindow {
public:
    // Takes over the reference to the system's object.
    AccessibleObject(HWND window, IAccessible* system) : window_(window), system_(system) {}
    AccessibleObject(const AccessibleObject&) = delete;
    AccessibleObject& operator=(const AccessibleObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(iid, __uuidof(IUnknown)) || IsEqualIID(iid, __uuidof(IDispatch)) ||
            IsEqualIID(iid, __uuidof(IAccessible)))
            *out = static_cast<IAccessible*>(this);
        else if (IsEqualIID(iid, __uuidof(IOleWindow)))
            *out = static_cast<IOleWindow*>(this);
        else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info) *info = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
        if (!window) return E_POINTER;
        *window = window_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        const Control* c = control();
        if (!c || !Items{*c}.any()) return system_->get_accChildCount(count);
        if (!count) return E_POINTER;
        *count = Items{*c}.count();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT id, IDispatch** child) override {
        if (!item(id)) return system_->get_accChild(id, child);
        if (!child) return E_POINTER;
        *child = nullptr;  // an item is a simple element of this object
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT id, BSTR* name) override {
        const Control* c = control();
        if (c && self(id)) return answerText(accessibleName(*c), name);
        if (const auto child = item(id)) return answerText(Items{*c}.name(*child), name);
        return system_->get_accName(id, name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT id, BSTR* value) override {
        const Control* c = control();
        if (!c || !self(id)) return system_->get_accValue(id, value);
        const std::optional<std::string> held = accessibleValue(*c);
        if (!held) {
            if (value) *value = nullptr;
            return S_FALSE;
        }
        if (!value) return E_POINTER;
        *value = SysAllocString(widen(*held).c_str());
        return *value ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT id, VARIANT* role) override {
        const Control* c = control();
        if (c && self(id))
            if (const auto known = roleOf(*c)) return answerNumber(*known, role);
        if (item(id)) return answerNumber(Items{*c}.role(), role);
        return system_->get_accRole(id, role);
    }
    // An item's state as the system has it (Wine's object has no items: then selectable,
    // and selected where it is), with the check mark and the tab shown added.
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT id, VARIANT* state) override {
        const auto child = item(id);
        if (!child) return selfState(id, state);
        if (!state) return E_POINTER;
        const Items items{*control()};
        long flags = 0;
        VARIANT system;
        VariantInit(&system);
        if (system_->get_accState(id, &system) == S_OK && system.vt == VT_I4) flags = system.lVal;
        else flags = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
        VariantClear(&system);
        if (items.selected(window_, *child)) flags |= STATE_SYSTEM_SELECTED;
        if (items.checked(*child)) flags |= STATE_SYSTEM_CHECKED;
        return answerNumber(flags, state);
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return system_->get_accParent(parent); }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT id, BSTR* text) override {
        return system_->get_accDescription(id, text);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT id, BSTR* text) override { return system_->get_accHelp(id, text); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT id, long* topic) override {
        return system_->get_accHelpTopic(file, id, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT id, BSTR* text) override {
        return system_->get_accKeyboardShortcut(id, text);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* id) override { return system_->get_accFocus(id); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* ids) override { return system_->get_accSelection(ids); }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT id, BSTR* text) override {
        return system_->get_accDefaultAction(id, text);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT id) override { return system_->accSelect(flags, id); }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT id) override {
        return system_->accLocation(left, top, width, height, id);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT from, VARIANT* to) override {
        return system_->accNavigate(direction, from, to);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* id) override { return system_->accHitTest(x, y, id); }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT id) override { return system_->accDoDefaultAction(id); }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT id, BSTR name) override { return system_->put_accName(id, name); }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT id, BSTR value) override {
        return system_->put_accValue(id, value);
    }

private:
    ~AccessibleObject() { system_->Release(); }

    // The control of the window, while it has one.
    const Control* control() const {
        const WindowPeer* peer = peerOf(window_);
        return peer ? &peer->control() : nullptr;
    }
    static bool self(const VARIANT& id) { return childOf(id) == CHILDID_SELF; }
    // The item a child id stands for, when it is one of the control's items.
    std::optional<long> item(const VARIANT& id) const {
        const Control* c = control();
        const auto child = childOf(id);
        if (!c || !child || !Items{*c}.has(*child)) return std::nullopt;
        return child;
    }

    LONG references_ = 1;
    // The system's state, and a link's: the keyboard reaches it.
    HRESULT selfState(VARIANT id, VARIANT* state) {
        const HRESULT got = system_->get_accState(id, state);
        const Control* c = control();
        const bool link = c && self(id) && c->kind() == ControlKind::Label && static_cast<const Label*>(c)->isLink();
        if (link && got == S_OK && state && state->vt == VT_I4) state->lVal |= STATE_SYSTEM_LINKED | STATE_SYSTEM_FOCUSABLE;
        return got;
    }

    HWND window_;
    IAccessible* system_;
};

}  // namespace

bool answerAccessibility(WindowPeer& peer, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    // The object id travels in the low 32 bits; OBJID_CLIENT is negative.
    if (static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT) || !roleOf(peer.control()))
        return false;
    IAccessible* system = nullptr;
    if (FAILED(CreateStdAccessibleObject(peer.window(), OBJID_CLIENT, __uuidof(IAccessible),
                                         reinterpret_cast<void**>(&system))))
        return false;
    auto* object = new AccessibleObject(peer.window(), system);
    // The result holds its own reference (or none when it failed, a negative HRESULT the
    // asker is given as it is).
    result = LresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(object));
    object->Release();
    return true;
}

}  // namespace lt::win32
