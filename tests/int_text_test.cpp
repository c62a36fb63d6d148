#include <gtest/gtest.h>

#include "base/failure.h"
#include "base/int_text.h"
#include "toolkit/application.h"

namespace lt {
namespace {

TEST(StrToInt, AcceptsDecimalWithLeadingBlanksZerosAndSign) {
    const struct { const char* text; int32_t value; } cases[] = {
        {"0", 0}, {"005", 5}, {"050", 50}, {"  12", 12}, {"+7", 7}, {"-5", -5},
        {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1},
    };
    for (const auto& c : cases) EXPECT_EQ(StrToInt(c.text), c.value) << c.text;
}

TEST(StrToInt, RejectsEverythingElseWithTheConversionMessage) {
    for (const char* text : {"", "5OK", "ERR", "12 ", " ", "-", "1.0", "0x10", "2147483648", "99999999999"}) {
        try {
            StrToInt(text);
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const Failure& e) {
            EXPECT_EQ(std::string(e.what()), std::string("'") + text + "' is not a valid integer value");
        }
    }
}

TEST(ErrorBox, AppendsAFullStopOnlyAfterCharactersSortingAfterAPoint) {
    const struct { const char* message; const char* shown; } cases[] = {
        {"'ERR' is not a valid integer value", "'ERR' is not a valid integer value."},
        {"Invalid port number (COM3)", "Invalid port number (COM3)"},
        {"TVaModem: error writing to comm.", "TVaModem: error writing to comm."},
        {"Failed to set data for 'USERINIT'", "Failed to set data for 'USERINIT'"},
        {"Can't open device COM1", "Can't open device COM1."},
        {"Ошибка", "Ошибка."},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(Application::errorBoxText(c.message), c.shown) << c.message;
}

}  // namespace
}  // namespace lt
