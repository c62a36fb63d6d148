// The one decimal text <-> integer conversion every part of the program uses.
#pragma once
#include <cstdint>
#include <string>

namespace lt {

// Decimal text to a 32-bit integer: leading blanks, an optional sign and leading zeros
// are accepted; anything else (an empty text, "5OK", "ERR", a trailing blank, overflow)
// fails with "'%s' is not a valid integer value".
int32_t StrToInt(const std::string& text);

std::string IntToStr(long long value);

}  // namespace lt
