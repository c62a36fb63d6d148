// Bit registers as text: eight characters "0"/"1", the least significant bit first,
// one per check mark or slider half.
#pragma once
#include <cstdint>
#include <string>

namespace lt {

// Character i (0-based) is the digit of bit i. Values outside 0..255 keep the same
// division scheme: above 255 the last "digit" is value / 128 (so "2" or more, or two
// digits), and negative values give "-1" where a bit would be. Never fails.
std::string ByteToBits(int32_t value);

// The first eight characters, each converted alone as a decimal digit and weighted
// 2^i; characters after the eighth are ignored, and "2".."9" count with their value so
// that BitsToByte(ByteToBits(v)) == v up to 1279. A character that is not a digit, or a
// text shorter than eight characters, fails with the conversion failure of that
// character (an empty text for a missing one).
int32_t BitsToByte(const std::string& bits);

}  // namespace lt
