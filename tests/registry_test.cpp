#include <gtest/gtest.h>

#include "platform/failure.h"
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
    auto writer = store.openForWriting();
    ASSERT_NE(writer, nullptr);
    writer->write(setting::kPort, "4");
    writer->remove(setting::kModem);  // missing: nothing happens
    EXPECT_EQ(store.ReadSetting(setting::kPort), "4");

    registry.failWrites = true;
    try {
        writer->write(setting::kKlas, "1");
        ADD_FAILURE() << "no failure";
    } catch (const Failure& e) {
        EXPECT_STREQ(e.what(), "Failed to set data for 'klas'");
    }
}

TEST_F(SettingsStoreTest, WriterIsNullWhenFullAccessIsRefused) {
    registry.allowOpen = [](const std::string&, uint32_t access) { return !(access & rights::kSetValue); };
    EXPECT_EQ(store.openForWriting(), nullptr);
    EXPECT_FALSE(registry.keyExists(setting::kKey));
}

TEST(MemoryRegistry, NamesCompareWithoutLetterCase) {
    headless::MemoryRegistry registry;
    registry.setString("\\System\\CurrentControlSet\\Services\\Class\\Modem\\0000", "Model", "X");
    EXPECT_EQ(registry.text("SYSTEM\\currentcontrolset\\services\\class\\MODEM\\0000", "model"), "X");
}

}  // namespace
}  // namespace lt
