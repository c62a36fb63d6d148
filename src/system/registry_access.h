// The registry operations with the error behaviour the program relies on: missing
// values read as empty, a value of another type and a refused write raise.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "base/failure.h"
#include "registry.h"

namespace lt {

class RegistryAccess {
public:
    explicit RegistryAccess(Registry& registry) : registry_(registry) {}

    // Paths may start with a backslash (a path from the root key).
    std::unique_ptr<RegKey> openForRead(const std::string& path);  // read rights, with fallbacks
    OpenedKey openFullAccess(const std::string& path, bool create);

    // "" when the value is missing or empty; raises "Invalid data type for '%s'" when it
    // exists with a type that is not a string.
    static std::string readString(RegKey& key, const std::string& name);
    // Raises "Failed to set data for '%s'" when the system refuses.
    static void writeString(RegKey& key, const std::string& name, const std::string& text);
    // A value that does not exist is no failure; a refused removal raises
    // refusedStore(what, ...).
    void deleteValue(RegKey& key, const std::string& name, const std::string& what);

    // The failure shown when the system refuses to store something below
    // HKEY_LOCAL_MACHINE: what was not stored (accusative: "настройки"), the system's
    // reason, and the rights storing there takes.
    Failure refusedStore(const std::string& what, uint32_t code);

private:
    Registry& registry_;
};

}  // namespace lt
