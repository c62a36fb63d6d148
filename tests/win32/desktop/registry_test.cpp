// The Win32 registry reports why an open failed, with the system's code and text, and
// opens what exists.
#include <windows.h>

#include "checks.h"
#include "platform/win32/win32_registry.h"
#include "system/registry.h"

namespace lt::win32::testing {

void testRegistry(Checks& checks) {
    Win32Registry registry;
    const OpenedKey missing = registry.openKey("SOFTWARE\\Linetrim test key that does not exist", rights::kRead);
    checks.expect(!missing.key && missing.error == regerror::kFileNotFound, "a missing key: no key, not found");
    const OpenedKey present = registry.openKey("SOFTWARE", rights::kRead);
    checks.expect(present.key && present.error == regerror::kSuccess, "an existing key opens");
    checks.expect(!registry.errorText(regerror::kAccessDenied).empty(), "the system has a text for access denied");
    checks.expect(registry.errorText(0xFFFFFFF0u).empty(), "no text for a code the system does not know");
}

}  // namespace lt::win32::testing
