#include "bit_codec.h"

#include <array>

#include "platform/int_text.h"

namespace lt {

std::string ByteToBits(int32_t value) {
    std::array<int64_t, 8> q{};
    int64_t v = value;
    for (int k = 7; k >= 1; --k) {
        const int64_t weight = int64_t{1} << k;
        q[k] = v / weight;  // truncates toward zero
        v -= q[k] * weight;
    }
    q[0] = v;
    std::string bits;
    for (int64_t digit : q) bits += IntToStr(digit);
    return bits;
}

int32_t BitsToByte(const std::string& bits) {
    int32_t sum = 0;
    for (size_t i = 0; i < 8; ++i) {
        const std::string character = i < bits.size() ? bits.substr(i, 1) : std::string();
        sum += StrToInt(character) << i;
    }
    return sum;
}

}  // namespace lt
