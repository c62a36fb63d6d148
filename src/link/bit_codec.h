// Register bytes as bit strings: eight characters "0" and "1", least significant bit
// first, so the value 5 is "10100000".
#pragma once
#include <cstdint>
#include <string>

namespace lt {

// The decimal texts of the quotients by 2^k, bit 0 first. For 0..255 this is the bit
// string; above, the last place holds value / 128 (one or more digits); negative
// values give "-1" where a bit would be.
std::string ByteToBits(int32_t value);

// Sum of digit i times 2^(i-1) over the first eight characters, each converted alone
// with StrToInt; a character that is not a digit fails, and so does a missing one
// (converted as an empty text). Characters after the eighth are ignored.
int32_t BitsToByte(const std::string& bits);

}  // namespace lt
