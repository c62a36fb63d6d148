#include "bit_codec.h"

#include "base/int_text.h"

namespace lt {

std::string ByteToBits(int32_t value) {
    // Truncating division from the top weight down; C++ truncates toward zero, which is
    // what gives the "-1" digits for negative values.
    int32_t q[8];
    int32_t rest = value;
    for (int k = 7; k >= 1; --k) {
        q[k] = rest / (1 << k);
        rest -= q[k] * (1 << k);
    }
    q[0] = rest;
    std::string bits;
    for (int32_t digit : q) bits += IntToStr(digit);
    return bits;
}

int32_t BitsToByte(const std::string& bits) {
    int32_t value = 0;
    for (size_t i = 0; i < 8; ++i) {
        // A missing character converts as an empty text and fails, never read past the end.
        const std::string digit = i < bits.size() ? bits.substr(i, 1) : std::string();
        value += StrToInt(digit) * (1 << i);
    }
    return value;
}

}  // namespace lt
