#include "registry_access.h"

#include "base/int_text.h"

namespace lt {
namespace {

std::string relative(const std::string& path) {
    return !path.empty() && path[0] == '\\' ? path.substr(1) : path;
}

// The system's text as one clause: its line breaks as blanks, without the closing full
// stop, since the sentence goes on after it.
std::string clause(std::string text) {
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    while (!text.empty() && (text.back() == ' ' || text.back() == '.')) text.pop_back();
    return text;
}

}  // namespace

std::unique_ptr<RegKey> RegistryAccess::openForRead(const std::string& path) {
    // An account may be refused KEY_READ yet allowed the narrower masks; try them in turn.
    static constexpr uint32_t kAttempts[] = {
        rights::kRead,
        rights::kStandardRead | rights::kQueryValue | rights::kEnumerateSubKeys,
        rights::kQueryValue,
    };
    for (uint32_t access : kAttempts)
        if (auto opened = registry_.openKey(relative(path), access); opened.key) return std::move(opened.key);
    return nullptr;
}

OpenedKey RegistryAccess::openFullAccess(const std::string& path, bool create) {
    return create ? registry_.createKey(relative(path), rights::kAllAccess)
                  : registry_.openKey(relative(path), rights::kAllAccess);
}

std::string RegistryAccess::readString(RegKey& key, const std::string& name) {
    const auto info = key.queryValue(name);
    if (!info || info->size == 0) return "";
    if (info->type != regtype::kString && info->type != regtype::kExpandString)
        throw Failure(formatMessage("Invalid data type for '%s'", name));
    return key.readText(name);
}

void RegistryAccess::writeString(RegKey& key, const std::string& name, const std::string& text) {
    if (!key.writeText(name, text)) throw Failure(formatMessage("Failed to set data for '%s'", name));
}

void RegistryAccess::deleteValue(RegKey& key, const std::string& name, const std::string& what) {
    const uint32_t code = key.deleteValue(name);
    if (code != regerror::kSuccess && code != regerror::kFileNotFound) throw refusedStore(what, code);
}

Failure RegistryAccess::refusedStore(const std::string& what, uint32_t code) {
    std::string reason = clause(registry_.errorText(code));
    if (reason.empty()) reason = "ошибка " + IntToStr(static_cast<long long>(code));
    return Failure("Не удалось сохранить " + what + ": " + reason + ". Для этого нужны права администратора.");
}

}  // namespace lt
