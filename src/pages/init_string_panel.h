// The user init string of the selected modem: the driver's "USERINIT" value, edited in
// Edit1, which every page's "В строку" button appends to.
#pragma once
#include <memory>

#include "settings/settings_store.h"
#include "toolkit/widgets.h"

namespace lt {

inline constexpr char kUserInitValue[] = "USERINIT";
// What a refused store of the init string names in its message.
inline constexpr char kInitStringNoun[] = "строку инициализации";

class InitStringPanel {
public:
    InitStringPanel(Control& page, SettingsStore& settings);

    Label Label3;
    Edit Edit1;
    Button SpeedButton18, SpeedButton19, SpeedButton20;

    void Button3Click();         // read the stored string into the field
    void SpeedButton19Click();   // store the field
    void SpeedButton20Click();   // empty the field

private:
    OpenedKey openDriverKey();
    SettingsStore& settings_;
};

}  // namespace lt
