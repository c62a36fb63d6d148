#include "failure.h"

namespace lt {

std::string formatMessage(const std::string& pattern, const std::string& arg) {
    const size_t at = pattern.find("%s");
    if (at == std::string::npos) return pattern;
    return pattern.substr(0, at) + arg + pattern.substr(at + 2);
}

std::string formatMessage(const std::string& pattern, long long number) {
    const size_t at = pattern.find("%d");
    if (at == std::string::npos) return pattern;
    return pattern.substr(0, at) + std::to_string(number) + pattern.substr(at + 2);
}

}  // namespace lt
