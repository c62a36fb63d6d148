#include "int_text.h"

#include "failure.h"

namespace lt {

int32_t StrToInt(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const size_t firstDigit = i;
    long long value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') break;
        value = value * 10 + (c - '0');
        if (value > 2147483648LL) break;  // already out of range; fail below
    }
    const bool inRange = negative ? value <= 2147483648LL : value <= 2147483647LL;
    if (i == firstDigit || i != text.size() || !inRange)
        throw Failure(formatMessage("'%s' is not a valid integer value", text));
    return static_cast<int32_t>(negative ? -value : value);
}

std::string IntToStr(long long value) { return std::to_string(value); }

}  // namespace lt
