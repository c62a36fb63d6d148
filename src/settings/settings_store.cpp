#include "settings_store.h"

namespace lt {

void SettingsWriter::write(const std::string& name, const std::string& value) {
    RegistryAccess::writeString(*key_, name, value);
}

void SettingsWriter::remove(const std::string& name) { RegistryAccess::deleteValue(*key_, name); }

std::string SettingsStore::ReadSetting(const std::string& name) {
    auto key = access_.openForRead(setting::kKey);
    return key ? RegistryAccess::readString(*key, name) : std::string();
}

std::unique_ptr<SettingsWriter> SettingsStore::openForWriting() {
    auto key = access_.openFullAccess(setting::kKey, true);
    return key ? std::make_unique<SettingsWriter>(std::move(key)) : nullptr;
}

}  // namespace lt
