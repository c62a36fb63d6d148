#include "link/bit_codec.h"

#include <gtest/gtest.h>

#include "platform/failure.h"

namespace lt {
namespace {

TEST(BitCodec, ByteToBitsLeastSignificantFirst) {
    const std::pair<int32_t, const char*> cases[] = {
        {0, "00000000"},    {255, "11111111"}, {1, "10000000"},  {128, "00000001"},   {5, "10100000"},
        {200, "00010011"},  {300, "00110102"}, {1280, "000000010"}, {-1, "-10000000"}, {-5, "-10-100000"},
    };
    for (auto [value, bits] : cases) EXPECT_EQ(ByteToBits(value), bits) << value;
}

TEST(BitCodec, BitsToByteSumsTheFirstEightDigits) {
    const std::pair<const char*, int32_t> cases[] = {
        {"10100000", 5}, {"00010011", 200}, {"11111111", 255}, {"00000000", 0},
        {"12000000", 5}, {"111111110", 255},
    };
    for (auto [bits, value] : cases) EXPECT_EQ(BitsToByte(bits), value) << bits;
    for (int32_t v = 0; v <= 1279; ++v) ASSERT_EQ(BitsToByte(ByteToBits(v)), v);
}

TEST(BitCodec, BitsToByteFailsOnTheFirstCharacterThatIsNotADigit) {
    const std::pair<const char*, const char*> cases[] = {
        {"1x000000", "'x' is not a valid integer value"}, {"0000 000", "' ' is not a valid integer value"},
        {"-1000000", "'-' is not a valid integer value"}, {"+1000000", "'+' is not a valid integer value"},
        {"101", "'' is not a valid integer value"},
    };
    for (auto [bits, message] : cases) {
        try {
            BitsToByte(bits);
            ADD_FAILURE() << bits;
        } catch (const Failure& f) {
            EXPECT_STREQ(f.what(), message) << bits;
        }
    }
}

}  // namespace
}  // namespace lt
