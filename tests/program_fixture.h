// The whole program on the headless platform, with the simulated modem on COM1.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
#include "platform/headless/user.h"
#include "settings/setup_dialog.h"
#include "sim/modem.h"
#include "simulated_platform.h"

namespace lt::testing {

// The first modem below the class key of the Windows NT family, which the tests run as.
inline const std::string kDriverKey = std::string(kModemClassNt) + "\\0000";

// What the user is told when the account may not write below HKEY_LOCAL_MACHINE (the
// headless registry's reason is the English system text).
inline constexpr char kSettingsRefused[] =
    "Не удалось сохранить настройки: Access is denied. Для этого нужны права администратора.";
inline constexpr char kInitStringRefused[] =
    "Не удалось сохранить строку инициализации: Access is denied. Для этого нужны права администратора.";

// Refuses full access to the keys whose path contains the given text, as Windows refuses
// a standard user full access below HKEY_LOCAL_MACHINE; reading stays allowed.
inline auto refuseWritingBelow(std::string part) {
    return [part](const std::string& path, uint32_t access) {
        return path.find(part) == std::string::npos || !(access & rights::kSetValue);
    };
}

class ProgramTest : public ::testing::Test {
protected:
    ProgramTest() = default;
    // The simulated modem plays another firmware edition than the default one.
    explicit ProgramTest(sim::Edition edition) : hp(edition) {}

    // Settings of a machine that was set up and identified a 65a modem.
    void seedSettings(const std::string& port = "1", const std::string& version = "65a") {
        hp.registry.setString(setting::kKey, setting::kPath, kDriverKey);
        hp.registry.setString(setting::kKey, setting::kPort, port);
        hp.registry.setString(setting::kKey, setting::kKlas, "2");
        if (!version.empty()) {
            hp.registry.setString(setting::kKey, setting::kModem, "ZOLT2");
            hp.registry.setString(setting::kKey, setting::kVersion, version);
        }
        hp.registry.setString(kDriverKey, "Model", "Olvix ZOLT2 V.92");
    }

    void start() {
        program = std::make_unique<Program>(hp.platform());
        program->start();
        user = std::make_unique<headless::User>(program->app, hp.desktop);
    }

    TForm1& form() { return *program->Form1; }
    CommandExchange& link() { return program->Form1->link; }

    // The texts of the error boxes shown so far.
    std::vector<std::string> errors() const {
        std::vector<std::string> texts;
        for (const auto& box : hp.desktop.messageBoxes)
            if (box.kind == MessageKind::Error) texts.push_back(box.text);
        return texts;
    }

    SimulatedPlatform hp;
    std::unique_ptr<Program> program;
    std::unique_ptr<headless::User> user;
};

}  // namespace lt::testing
