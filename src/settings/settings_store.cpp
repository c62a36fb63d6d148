#include "settings_store.h"

namespace lt {

void SettingsWriter::write(const std::string& name, const std::string& value) {
    RegistryAccess::writeString(*key_, name, value);
}

void SettingsWriter::remove(const std::string& name) { access_.deleteValue(*key_, name, kSettingsNoun); }

std::string SettingsStore::ReadSetting(const std::string& name) {
    auto key = access_.openForRead(setting::kKey);
    return key ? RegistryAccess::readString(*key, name) : std::string();
}

SettingsWriter SettingsStore::openForWriting() {
    OpenedKey opened = access_.openFullAccess(setting::kKey, true);
    if (!opened.key) throw access_.refusedStore(kSettingsNoun, opened.error);
    return SettingsWriter(access_, std::move(opened.key));
}

}  // namespace lt
