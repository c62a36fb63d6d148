// Firmware editions of the ZOLT modems and how they identify themselves.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace sim {

enum class Edition { R47ab, R48ab, R47b, R4610, Gb1, B64a, B65a, B66a, B67, Unknown };

// Every edition, Unknown last; handy for table-driven callers.
inline constexpr std::array<Edition, 10> kAllEditions = {
    Edition::R47ab, Edition::R48ab, Edition::R47b, Edition::R4610, Edition::Gb1,
    Edition::B64a,  Edition::B65a,  Edition::B66a, Edition::B67,   Edition::Unknown};

// The text the modem prints for ATI3.
std::string identificationText(Edition edition);

// Short codes as used on the command line and in settings: "47ab", "48ab",
// "47b", "4610", "gb1", "64a", "65a", "66a", "67". Letter case is ignored;
// anything else maps to Unknown.
Edition editionFromCode(std::string_view code);

// Reverse of editionFromCode; Unknown gives "unknown".
std::string editionCode(Edition edition);

}  // namespace sim
