// The notification-area icon and its popup menu. A left click or double click on the
// icon does nothing; the right button opens the menu.
#pragma once
#include <functional>
#include <string>
#include <vector>

namespace lt {

struct MenuItem {
    std::string name;
    std::string caption;
    std::function<void()> onClick;
};

class TrayIcon {
public:
    std::string hint;  // tooltip; empty for none
    std::vector<MenuItem> menu;
    bool active = false;
};

}  // namespace lt
