// The setup dialog: which installed modem (its driver key), on which COM port, of which
// series. At start it decides whether setup is needed; confirming stores the choice and
// ends the program, which must be started again to use it.
#pragma once
#include <string>

#include "port/comm_port.h"
#include "port/modem.h"
#include "settings/settings_store.h"
#include "system/desktop.h"
#include "toolkit/application.h"
#include "toolkit/form.h"
#include "toolkit/widgets.h"

namespace lt {

// The modem class keys below HKEY_LOCAL_MACHINE, one per Windows family.
inline constexpr char kModemClass95[] = "\\System\\CurrentControlSet\\Services\\Class\\Modem";
inline constexpr char kModemClassNt[] =
    "\\SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E96D-E325-11CE-BFC1-08002BE10318}";
inline constexpr char kModelValue[] = "Model";

// The modem class key of the running Windows family.
std::string modemClassKey(SystemInfo& systemInfo);
// The driver key of list position i: the class key, "\00" and i in upper-case hex with at
// least two digits; no selection (-1) gives "00FFFFFFFF".
std::string modemInstanceKey(const std::string& classKey, int position);

class TForm2 : public Form {
public:
    // The main window and the link's components are the ones a confirmed setup ends.
    TForm2(Application& app, SettingsStore& settings, SystemInfo& systemInfo, Form& mainWindow, Modem& modem,
           CommPort& port);

    // Tab takes them in the order they are created: ComboBox1, Button1, ComboBox2, ComboBox3,
    // which the form states rather than reading order.
    Label Label1;
    ComboBox ComboBox1;  // the installed modems, position = instance key
    Button Button1;      // "Сделать выбранный модем - текущим"
    Label Label2;
    ComboBox ComboBox2;  // "COM1" .. "COM18"
    Label Label3;
    ComboBox ComboBox3;  // "ZOLT1", "ZOLT2"

    void FormCreate();
    void Button1Click();

private:
    void buildModemList();
    void storeSetup();

    Application& app_;
    SettingsStore& settings_;
    SystemInfo& systemInfo_;
    Form& mainWindow_;
    Modem& modem_;
    CommPort& port_;
};

}  // namespace lt
