// A person at the headless desktop: each action goes through the application's
// default handler, as a window message would, and is followed by message processing.
#pragma once
#include <string>

#include "toolkit/application.h"
#include "toolkit/form.h"
#include "toolkit/tray_icon.h"
#include "toolkit/widgets.h"

namespace lt::headless {

class User {
public:
    User(Application& app, Desktop& desktop) : app_(app), desktop_(desktop) {}

    bool click(Button& button) { return act([&] { return button.userClick(); }); }
    bool click(Label& label) { return act([&] { return label.userClick(); }); }
    bool type(Edit& edit, const std::string& text) { return act([&] { return edit.userType(text); }); }
    bool pick(ComboBox& list, int index) { return act([&] { return list.userPick(index); }); }
    bool toggle(CheckListBox& list, int index) { return act([&] { return list.userToggle(index); }); }
    bool slide(Slider& slider, int value) { return act([&] { return slider.userChange(value); }); }
    bool selectPage(PageControl& pages, int index) { return act([&] { return pages.userSelectPage(index); }); }
    bool closeWindow(Form& form) { return act([&] { return form.userClose(); }); }
    // The mouse over a window, in its client coordinates.
    void mouseDown(Form& form, int x, int y) { mouse([&] { form.userMouseDown(x, y); }); }
    void mouseMove(Form& form, int x, int y) { mouse([&] { form.userMouseMove(x, y); }); }
    void mouseUp(Form& form, int x, int y) { mouse([&] { form.userMouseUp(x, y); }); }
    void minimize() {
        app_.minimized();
        desktop_.processMessages();
    }
    // Picks an entry of the tray icon's popup menu by its caption.
    bool trayMenu(TrayIcon& tray, const std::string& caption);

private:
    template <typename Action>
    bool act(Action action) {
        bool accepted = false;
        app_.run([&] { accepted = action(); });
        desktop_.processMessages();
        return accepted;
    }

    template <typename Action>
    void mouse(Action action) {
        act([&] {
            action();
            return true;
        });
    }

    Application& app_;
    Desktop& desktop_;
};

inline bool User::trayMenu(TrayIcon& tray, const std::string& caption) {
    for (auto& item : tray.menu)
        if (item.caption == caption)
            return act([&] {
                if (item.onClick) item.onClick();
                return true;
            });
    return false;
}

}  // namespace lt::headless
