#include "setup_dialog.h"

#include <cstdint>
#include <cstdio>
#include <exception>
#include <vector>

#include "base/int_text.h"

namespace lt {

std::string modemClassKey(SystemInfo& systemInfo) {
    return systemInfo.platformName() == "Windows 95" ? kModemClass95 : kModemClassNt;
}

std::string modemInstanceKey(const std::string& classKey, int position) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%02X", static_cast<unsigned>(static_cast<uint32_t>(position)));
    return classKey + "\\00" + digits;
}

TForm2::TForm2(Application& app, SettingsStore& settings, SystemInfo& systemInfo, Form& mainWindow,
               Modem& modem, CommPort& port)
    : Form("Form2"), Label1(this, "Label1"), ComboBox1(this, "ComboBox1"), Button1(this, "Button1"),
      Label2(this, "Label2"), ComboBox2(this, "ComboBox2"), Label3(this, "Label3"), ComboBox3(this, "ComboBox3"),
      app_(app), settings_(settings), systemInfo_(systemInfo), mainWindow_(mainWindow), modem_(modem),
      port_(port) {
    setText("Установка");
    setBounds(0, 0, 435, 144);
    formStyle.toolWindow = true;
    formStyle.stayOnTop = true;
    formStyle.minimizeBox = false;
    statedKeyboardOrder = {&ComboBox1, &Button1, &ComboBox2, &ComboBox3};

    Label1.setText("Выберите пожалуйста установленный модем:");
    Label1.setBounds(120, 8, 221, 13);
    ComboBox1.setBounds(16, 32, 401, 21);
    ComboBox1.labelledBy = &Label1;
    Label2.setText("Выберите порт к которому подключен модем");
    Label2.setBounds(16, 64, 228, 13);
    ComboBox2.setBounds(256, 56, 81, 21);
    ComboBox2.labelledBy = &Label2;
    std::vector<std::string> ports;
    for (int n = 1; n <= 18; ++n) ports.push_back("COM" + IntToStr(n));
    ComboBox2.setItems(ports);
    Label3.setText("Выберите серию модема ");
    Label3.setBounds(16, 88, 128, 13);
    ComboBox3.setBounds(152, 80, 81, 21);
    ComboBox3.labelledBy = &Label3;
    ComboBox3.setItems({"ZOLT1", "ZOLT2"});
    Button1.setText("Сделать выбранный модем - текущим");
    Button1.setBounds(112, 112, 225, 25);
    Button1.onClick = [this] { Button1Click(); };
}

void TForm2::FormCreate() {
    const std::string path = settings_.ReadSetting(setting::kPath);
    const std::string port = settings_.ReadSetting(setting::kPort);
    if (path.empty() || port.empty()) {
        // Nothing enables the main window again: this run ends by a confirmed setup or
        // by "Выход" in the tray menu.
        show();
        mainWindow_.setEnabled(false);
    }
    buildModemList();
}

void TForm2::buildModemList() {
    RegistryAccess& registry = settings_.registry();
    const std::string classKey = modemClassKey(systemInfo_);
    auto classes = registry.openForRead(classKey);
    if (!classes) return;
    ComboBox1.clear();
    // One entry per subkey, whatever its name, so that entry positions are instance
    // positions and the stored path names the key the entry was read from.
    const size_t count = classes->subkeyNames().size();
    for (size_t i = 0; i < count; ++i) {
        auto instance = registry.openForRead(modemInstanceKey(classKey, static_cast<int>(i)));
        ComboBox1.addItem(instance ? RegistryAccess::readString(*instance, kModelValue) : std::string());
    }
    ComboBox1.setItemIndex(0);
}

void TForm2::storeSetup() {
    const std::string path = modemInstanceKey(modemClassKey(systemInfo_), ComboBox1.itemIndex());
    const std::string port = IntToStr(ComboBox2.itemIndex() + 1);
    const std::string klas = IntToStr(ComboBox3.itemIndex() + 1);
    SettingsWriter writer = settings_.openForWriting();
    writer.write(setting::kPath, path);
    writer.write(setting::kPort, port);
    writer.write(setting::kKlas, klas);
    writer.remove(setting::kModem);
    writer.remove(setting::kVersion);
}

void TForm2::Button1Click() {
    std::exception_ptr failure;
    try {
        storeSetup();
    } catch (...) {
        failure = std::current_exception();
    }
    // The program ends whatever was stored; a failure of the store (no right to write the
    // settings, so the next start asks again) is reported last.
    app_.notice("Пожалуйста перезапустите программу");
    modem_.resetToIdle();
    port_.close();
    mainWindow_.close();
    close();
    if (failure) std::rethrow_exception(failure);
}

}  // namespace lt
