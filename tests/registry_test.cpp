#include <gtest/gtest.h>

#include "base/failure.h"
#include "platform/headless/memory_registry.h"
#include "settings/settings_store.h"

namespace lt {
namespace {

class SettingsStoreTest : public ::testing::Test {
protected:
    headless::MemoryRegistry registry;
    SettingsStore store{registry};
};

TEST_F(SettingsStoreTest, MissingKeyOrValueReadsEmpty) {
    EXPECT_EQ(store.ReadSetting(setting::kPath), "");
    registry.addKey(setting::kKey);
    EXPECT_EQ(store.ReadSetting(setting::kPort), "");
    EXPECT_EQ(store.ReadDriverKeyPath(), "");
}

TEST_F(SettingsStoreTest, ReadsStringAndExpandStringUpToTheFirstZero) {
    registry.setString(setting::kKey, setting::kPort, "3");
    registry.setValue(setting::kKey, setting::kPath, {regtype::kExpandString, std::string("\\A\0junk", 7)});
    EXPECT_EQ(store.ReadSetting(setting::kPort), "3");
    EXPECT_EQ(store.ReadSetting(setting::kPath), "\\A");
}

TEST_F(SettingsStoreTest, ValueOfAnotherTypeRaisesButAnEmptyOneReadsEmpty) {
    registry.setDword(setting::kKey, setting::kVersion, 65);
    registry.setValue(setting::kKey, setting::kModem, {regtype::kBinary, ""});
    try {
        store.ReadSetting(setting::kVersion);
        ADD_FAILURE() << "no failure";
    } catch (const Failure& e) {
        EXPECT_STREQ(e.what(), "Invalid data type for 'version'");
    }
    EXPECT_EQ(store.ReadSetting(setting::kModem), "");
}

TEST_F(SettingsStoreTest, ReadFallsBackToNarrowerRights) {
    registry.setString(setting::kKey, setting::kPort, "2");
    std::vector<uint32_t> asked;
    registry.allowOpen = [&](const std::string&, uint32_t access) {
        asked.push_back(access);
        return access == rights::kQueryValue;
    };
    EXPECT_EQ(store.ReadSetting(setting::kPort), "2");
    EXPECT_EQ(asked, (std::vector<uint32_t>{0x20019, 0x20009, 0x0001}));
}

TEST_F(SettingsStoreTest, WriterCreatesTheKeyAndReportsRefusedWrites) {
    SettingsWriter writer = store.openForWriting();
    writer.write(setting::kPort, "4");
    writer.remove(setting::kModem);  // missing: nothing happens
    EXPECT_EQ(store.ReadSetting(setting::kPort), "4");

    registry.failWrites = true;
    try {
        writer.write(setting::kKlas, "1");
        ADD_FAILURE() << "no failure";
    } catch (const Failure& e) {
        EXPECT_STREQ(e.what(), "Failed to set data for 'klas'");
    }
}

constexpr char kSettingsRefused[] =
    "Не удалось сохранить настройки: Access is denied. Для этого нужны права администратора.";

// An account that may not write below HKEY_LOCAL_MACHINE: the open for writing or a
// removal is refused, and the failure says why instead of passing for success.
TEST_F(SettingsStoreTest, RefusedStoresSayWhyAndWhatItTakes) {
    struct Case {
        const char* what;
        bool refuseFullAccess;
        bool refuseRemovals;
        const char* removed;   // the value removed after opening
        const char* expected;  // the failure, "" for none
    };
    const Case cases[] = {
        {"open refused", true, false, nullptr, kSettingsRefused},
        {"removal refused", false, true, setting::kVersion, kSettingsRefused},
        {"missing value, removals refused", false, true, setting::kModem, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        headless::MemoryRegistry registry;
        SettingsStore store{registry};
        registry.setString(setting::kKey, setting::kVersion, "65a");
        if (c.refuseFullAccess)
            registry.allowOpen = [](const std::string&, uint32_t access) { return !(access & rights::kSetValue); };
        registry.failRemovals = c.refuseRemovals;
        std::string failure;
        try {
            SettingsWriter writer = store.openForWriting();
            writer.remove(c.removed);
        } catch (const Failure& e) {
            failure = e.what();
        }
        EXPECT_EQ(failure, c.expected);
        EXPECT_EQ(store.ReadSetting(setting::kVersion), "65a");
    }
}

TEST_F(SettingsStoreTest, KeyIsNotCreatedWhenFullAccessIsRefused) {
    registry.allowOpen = [](const std::string&, uint32_t access) { return !(access & rights::kSetValue); };
    EXPECT_THROW(store.openForWriting(), Failure);
    EXPECT_FALSE(registry.keyExists(setting::kKey));
}

TEST(RegistryAccess, RefusedStoreTakesTheSystemTextAsOneClause) {
    struct Case {
        uint32_t code;
        const char* expected;
    };
    const Case cases[] = {
        {regerror::kAccessDenied, kSettingsRefused},
        // A code the system has no text for is named by its number.
        {1018, "Не удалось сохранить настройки: ошибка 1018. Для этого нужны права администратора."},
    };
    headless::MemoryRegistry registry;
    RegistryAccess access{registry};
    for (const Case& c : cases) EXPECT_STREQ(access.refusedStore(kSettingsNoun, c.code).what(), c.expected);
}

TEST(MemoryRegistry, NamesCompareWithoutLetterCase) {
    headless::MemoryRegistry registry;
    registry.setString("\\System\\CurrentControlSet\\Services\\Class\\Modem\\0000", "Model", "X");
    EXPECT_EQ(registry.text("SYSTEM\\currentcontrolset\\services\\class\\MODEM\\0000", "model"), "X");
}

}  // namespace
}  // namespace lt
