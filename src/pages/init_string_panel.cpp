#include "init_string_panel.h"

#include "pages/button_row.h"

#include "base/failure.h"

namespace lt {

InitStringPanel::InitStringPanel(Control& page, SettingsStore& settings)
    : Label3(&page, "Label3"), Edit1(&page, "Edit1"), SpeedButton18(&page, "SpeedButton18"),
      SpeedButton19(&page, "SpeedButton19"), SpeedButton20(&page, "SpeedButton20"), settings_(settings) {
    Label3.setText("Строка инициализации выбранного модема:");
    Label3.setBounds(56, 200, 240, 13);
    Edit1.setBounds(24, 224, 297, 21);
    Edit1.labelledBy = &Label3;
    placeButtons<3>({&SpeedButton18, &SpeedButton19, &SpeedButton20}, {"Читать", "Записать", "Очистить"},
                    {32, 256, 96, 0, 81, 22, true});
    SpeedButton18.onClick = [this] { Button3Click(); };
    SpeedButton19.onClick = [this] { SpeedButton19Click(); };
    SpeedButton20.onClick = [this] { SpeedButton20Click(); };
}

OpenedKey InitStringPanel::openDriverKey() {
    // No modem chosen means no driver key, not the root key itself.
    const std::string path = settings_.ReadDriverKeyPath();
    if (path.empty()) return {nullptr, regerror::kFileNotFound};
    return settings_.registry().openFullAccess(path, false);
}

void InitStringPanel::Button3Click() {
    OpenedKey opened = openDriverKey();
    Edit1.setText(opened.key ? RegistryAccess::readString(*opened.key, kUserInitValue) : std::string());
}

void InitStringPanel::SpeedButton19Click() {
    OpenedKey opened = openDriverKey();
    // A driver key that is missing is never created; the write fails as a refused write
    // does. One the account may not write to says why.
    if (!opened.key && opened.error == regerror::kFileNotFound)
        throw Failure(formatMessage("Failed to set data for '%s'", kUserInitValue));
    if (!opened.key) throw settings_.registry().refusedStore(kInitStringNoun, opened.error);
    RegistryAccess::writeString(*opened.key, kUserInitValue, Edit1.text());
}

void InitStringPanel::SpeedButton20Click() { Edit1.setText(""); }

}  // namespace lt
