// The program's settings: string values of one registry key, read afresh by every
// operation that needs one, so a value written by one operation is seen by the next.
#pragma once
#include <memory>
#include <string>

#include "system/registry.h"
#include "system/registry_access.h"

namespace lt {

// The key and its value names; stored settings depend on these exact texts.
namespace setting {
inline constexpr char kKey[] = "\\SOFTWARE\\LTRM";
inline constexpr char kPath[] = "path";        // driver key of the chosen modem
inline constexpr char kPort[] = "port";        // COM port number, "0" when none chosen
inline constexpr char kKlas[] = "klas";        // series chosen in the setup dialog
inline constexpr char kModem[] = "modem";      // series found by identification
inline constexpr char kVersion[] = "version";  // firmware edition found by identification
}  // namespace setting

// What a refused store of the settings names in its message.
inline constexpr char kSettingsNoun[] = "настройки";

// The settings key opened for writing.
class SettingsWriter {
public:
    SettingsWriter(RegistryAccess& access, std::unique_ptr<RegKey> key) : access_(access), key_(std::move(key)) {}
    // Raises "Failed to set data for '%s'" when refused.
    void write(const std::string& name, const std::string& value);
    // Nothing happens when the value does not exist; a refused removal raises.
    void remove(const std::string& name);

private:
    RegistryAccess& access_;
    std::unique_ptr<RegKey> key_;
};

class SettingsStore {
public:
    explicit SettingsStore(Registry& registry) : access_(registry) {}

    // "" when the key or the value is missing; raises "Invalid data type for '%s'" when
    // the value is not a string.
    std::string ReadSetting(const std::string& name);
    std::string ReadDriverKeyPath() { return ReadSetting(setting::kPath); }
    // Full access, creating the key when missing. Raises, with the system's reason, when
    // that is refused (an account that may not write below HKEY_LOCAL_MACHINE).
    SettingsWriter openForWriting();

    RegistryAccess& registry() { return access_; }

private:
    RegistryAccess access_;
};

}  // namespace lt
