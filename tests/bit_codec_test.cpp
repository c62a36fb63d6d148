#include <gtest/gtest.h>

#include "base/failure.h"
#include "link/bit_codec.h"

namespace lt {
namespace {

TEST(ByteToBits, LeastSignificantBitFirstAndTheDivisionSchemeOutsideAByte) {
    const struct { int32_t value; const char* bits; } cases[] = {
        {0, "00000000"},       {255, "11111111"},      {1, "10000000"},
        {128, "00000001"},     {5, "10100000"},        {200, "00010011"},
        {300, "00110102"},     // bits 0-6 of 44, then 300 / 128
        {1279, "11111119"},    {1280, "000000010"},    // nine characters
        {-1, "-10000000"},     {-255, "-1-1-1-1-1-1-1-1"},
        {-256, "0000000-2"},   {INT32_MIN, "0000000-16777216"},
    };
    for (const auto& c : cases) EXPECT_EQ(ByteToBits(c.value), c.bits) << c.value;
}

TEST(BitsToByte, WeighsTheFirstEightDigits) {
    const struct { const char* bits; int32_t value; } cases[] = {
        {"10100000", 5},   {"00010011", 200}, {"11111111", 255}, {"00000000", 0},
        {"12000000", 5},   // a "2" counts with its value
        {"99999999", 2295},
        {"111111110", 255},  // the ninth character is ignored
        {"00000001x", 128},
    };
    for (const auto& c : cases) EXPECT_EQ(BitsToByte(c.bits), c.value) << c.bits;
}

TEST(BitsToByte, FailsOnTheFirstCharacterThatIsNotADigit) {
    const struct { const char* bits; const char* message; } cases[] = {
        {"1x000000", "'x' is not a valid integer value"},
        {" 0000000", "' ' is not a valid integer value"},
        {"0000000-", "'-' is not a valid integer value"},
        {"000+0000", "'+' is not a valid integer value"},
        {"a-000000", "'a' is not a valid integer value"},  // the first offender is named
        {"1010", "'' is not a valid integer value"},       // too short: the missing fifth
        {"", "'' is not a valid integer value"},
    };
    for (const auto& c : cases) {
        try {
            BitsToByte(c.bits);
            ADD_FAILURE() << c.bits << " converted";
        } catch (const Failure& f) {
            EXPECT_STREQ(f.what(), c.message) << c.bits;
        }
    }
}

TEST(BitCodec, RoundTripsEveryValueTheDigitsCanHold) {
    for (int32_t v = 0; v <= 1279; ++v) ASSERT_EQ(BitsToByte(ByteToBits(v)), v) << v;
}

}  // namespace
}  // namespace lt
