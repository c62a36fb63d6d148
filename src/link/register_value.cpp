#include "register_value.h"

namespace lt {

std::string ExtractRegisterValue(const std::string& snapshot, const std::string& query, int offset) {
    const size_t found = snapshot.find(query);
    // 1-based position of the echo, 0 when absent; the value starts at position + offset.
    const long long position = found == std::string::npos ? 0 : static_cast<long long>(found) + 1;
    const long long start = position + offset;  // 1-based
    if (start < 1 || start > static_cast<long long>(snapshot.size())) return "";
    return snapshot.substr(static_cast<size_t>(start - 1), 3);
}

}  // namespace lt
