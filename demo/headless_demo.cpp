// Walks through the busy-tone group and the init string on the headless platform,
// printing what a user would see, so the program can be tried without Windows.
#include <iostream>
#include <string>

#include "app/program.h"
#include "platform/headless/user.h"
#include "settings/setup_dialog.h"
#include "sim/modem.h"
#include "tests/simulated_platform.h"

namespace {

const std::string kDriverKey = std::string(lt::kModemClassNt) + "\\0000";

void show(const char* step, lt::TForm1& form) {
    auto& g = form.busyTone;
    std::cout << step << ": S203..S207 = " << g.Edit2.text() << " " << g.Edit3.text() << " " << g.Edit4.text()
              << " " << g.Edit5.text() << " " << g.Edit6.text() << "; init string = \""
              << form.initString.Edit1.text() << "\"\n";
}

}  // namespace

int main() {
    lt::testing::SimulatedPlatform hp;
    hp.registry.setString(lt::setting::kKey, lt::setting::kPath, kDriverKey);
    hp.registry.setString(lt::setting::kKey, lt::setting::kPort, "1");
    hp.registry.setString(lt::setting::kKey, lt::setting::kModem, "ZOLT2");
    hp.registry.setString(lt::setting::kKey, lt::setting::kVersion, "65a");
    hp.registry.setString(kDriverKey, "USERINIT", "ATM0");

    lt::Program program(hp.platform());
    program.start();
    lt::headless::User user(program.app, hp.desktop);
    lt::TForm1& form = *program.Form1;
    std::cout << form.text() << " (" << program.app.title << ")\n";

    user.click(form.busyTone.SpeedButton4);
    show("read", form);
    user.type(form.busyTone.Edit2, "30");
    user.click(form.busyTone.SpeedButton5);
    std::cout << "write sent:";
    for (const auto& line : hp.modem().commandLines()) std::cout << " " << line;
    std::cout << "\n";
    user.click(form.initString.SpeedButton18);
    user.click(form.busyTone.SpeedButton8);
    user.click(form.initString.SpeedButton19);
    show("append and store", form);
    std::cout << "USERINIT in the registry: " << hp.registry.text(kDriverKey, "USERINIT").value_or("") << "\n";
    for (const auto& box : hp.desktop.messageBoxes) std::cout << "message box: " << box.text << "\n";
    return 0;
}
