#include "list_peers.h"

#include <windowsx.h>

#include <algorithm>

#include "painting.h"
#include "wide_text.h"

namespace lt::win32 {
namespace {

std::wstring itemText(HWND window, UINT lengthMessage, UINT textMessage, UINT index) {
    const LRESULT length = SendMessageW(window, lengthMessage, index, 0);
    if (length <= 0) return {};
    std::wstring text(length + 1, L'\0');
    SendMessageW(window, textMessage, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(length);
    return text;
}

class ComboBoxPeer : public WindowPeer {
public:
    ComboBoxPeer(ComboBox& combo, Win32Desktop& desktop) : WindowPeer(combo, desktop), combo_(combo) {}

    void sync(Aspect aspect) override {
        if (aspect == Aspect::Items) {
            SendMessageW(window_, CB_RESETCONTENT, 0, 0);
            for (const std::string& item : combo_.items())
                SendMessageW(window_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(item).c_str()));
            aspect = Aspect::ItemIndex;
        }
        if (aspect == Aspect::ItemIndex) SendMessageW(window_, CB_SETCURSEL, combo_.itemIndex(), 0);
        else WindowPeer::sync(aspect);
    }

    void command(int code) override {
        if (code != CBN_SELCHANGE) return;
        const int index = static_cast<int>(SendMessageW(window_, CB_GETCURSEL, 0, 0));
        user([&] { combo_.userPick(index); });
        SendMessageW(window_, CB_SETCURSEL, combo_.itemIndex(), 0);
    }

    void measureItem(MEASUREITEMSTRUCT& item) override {
        item.itemHeight = item.itemID == static_cast<UINT>(-1) ? fieldHeight() : itemHeight();
    }

    void rescale() override {
        SendMessageW(window_, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), fieldHeight());
        SendMessageW(window_, CB_SETITEMHEIGHT, 0, itemHeight());
        WindowPeer::rescale();
    }

    void drawItem(const DRAWITEMSTRUCT& item) override {
        if (item.itemID == static_cast<UINT>(-1)) {
            FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_WINDOW));
            return;
        }
        drawItemText(item, itemText(window_, CB_GETLBTEXTLEN, CB_GETLBTEXT, item.itemID), 0);
    }

protected:
    Spec spec() const override {
        return {L"COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS};
    }
    // The window's height includes the dropped-down list.
    RECT placement() const override {
        RECT r = WindowPeer::placement();
        r.bottom += itemHeight() * std::max(combo_.style.dropDownCount, 1) + scaled(2);
        return r;
    }
    void afterCreate() override { sync(Aspect::Items); }

private:
    // The selection field keeps the control at the height it was given.
    int fieldHeight() const { return std::max(scaled(combo_.height() - 6), 8); }
    int itemHeight() const { return scaled(combo_.style.itemHeight > 0 ? combo_.style.itemHeight : 16); }

    ComboBox& combo_;
};

// A list box drawing a check box before each item; a click on the box, or the space
// bar, toggles the item. The item data holds the check state; assistive tools are told it
// as the item's state (accessible_object.h), and of each change by a state-change event.
class CheckListBoxPeer : public WindowPeer {
public:
    CheckListBoxPeer(CheckListBox& list, Win32Desktop& desktop) : WindowPeer(list, desktop), list_(list) {}

    void sync(Aspect aspect) override {
        if (aspect == Aspect::Items) {
            SendMessageW(window_, LB_RESETCONTENT, 0, 0);
            for (const std::string& item : list_.items())
                SendMessageW(window_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(item).c_str()));
            aspect = Aspect::Checks;
        }
        if (aspect == Aspect::Checks) {
            for (size_t i = 0; i < list_.items().size(); ++i) {
                const LRESULT mark = list_.checked(static_cast<int>(i)) ? 1 : 0;
                if (SendMessageW(window_, LB_GETITEMDATA, i, 0) == mark) continue;
                SendMessageW(window_, LB_SETITEMDATA, i, mark);
                // What a screen reader announces as the user checks an item (the list box
                // itself tells only of its selection).
                NotifyWinEvent(EVENT_OBJECT_STATECHANGE, window_, OBJID_CLIENT, static_cast<LONG>(i + 1));
            }
            InvalidateRect(window_, nullptr, TRUE);
        } else {
            WindowPeer::sync(aspect);
        }
    }

    void measureItem(MEASUREITEMSTRUCT& item) override { item.itemHeight = itemHeight(); }

    void rescale() override {
        SendMessageW(window_, LB_SETITEMHEIGHT, 0, itemHeight());
        WindowPeer::rescale();
    }

    void drawItem(const DRAWITEMSTRUCT& item) override {
        if (item.itemID == static_cast<UINT>(-1)) return;
        const int box = itemHeight();
        drawItemText(item, itemText(window_, LB_GETTEXTLEN, LB_GETTEXT, item.itemID), box);
        const RECT r{item.rcItem.left + 1, item.rcItem.top + 1, item.rcItem.left + box - 1, item.rcItem.bottom - 1};
        drawCheckBox(item.hDC, r, list_.checked(static_cast<int>(item.itemID)), list_.enabled());
    }

    bool handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT&) override {
        if (message == WM_LBUTTONDOWN) {
            const LRESULT hit = SendMessageW(window_, LB_ITEMFROMPOINT, 0, lParam);
            const int index = LOWORD(hit);
            if (HIWORD(hit) == 0 && GET_X_LPARAM(lParam) < itemHeight()) toggle(index);
        } else if (message == WM_KEYDOWN && wParam == VK_SPACE) {
            toggle(static_cast<int>(SendMessageW(window_, LB_GETCURSEL, 0, 0)));
        }
        return false;  // the list box still selects the item
    }

protected:
    Spec spec() const override {
        return {L"LISTBOX",
                WS_TABSTOP | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                WS_EX_CLIENTEDGE};
    }
    void afterCreate() override { sync(Aspect::Items); }

private:
    // The check box is as wide as an item is high.
    int itemHeight() const { return scaled(list_.style.itemHeight > 0 ? list_.style.itemHeight : 16); }
    void toggle(int index) {
        user([&] { list_.userToggle(index); });
    }

    CheckListBox& list_;
};

}  // namespace

std::unique_ptr<WindowPeer> makeComboBoxPeer(ComboBox& combo, Win32Desktop& desktop) {
    return std::make_unique<ComboBoxPeer>(combo, desktop);
}

std::unique_ptr<WindowPeer> makeCheckListBoxPeer(CheckListBox& list, Win32Desktop& desktop) {
    return std::make_unique<CheckListBoxPeer>(list, desktop);
}

}  // namespace lt::win32
