#include "registry_access.h"

#include "failure.h"

namespace lt {
namespace {

std::string relative(const std::string& path) {
    return !path.empty() && path[0] == '\\' ? path.substr(1) : path;
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
        if (auto key = registry_.openKey(relative(path), access)) return key;
    return nullptr;
}

std::unique_ptr<RegKey> RegistryAccess::openFullAccess(const std::string& path, bool create) {
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

void RegistryAccess::deleteValue(RegKey& key, const std::string& name) { key.deleteValue(name); }

}  // namespace lt
