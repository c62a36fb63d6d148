#include "firmware_editions.h"

#include <array>

namespace lt {
namespace {

// The identification texts are compared byte for byte: keep them exactly as the
// firmware prints them (the blank in "67 --" included). The edition lines of the
// ZOLT2 betas end in the Cyrillic "а". The vendor registers exist only in some
// editions: "4610" is the base firmware without them, and "64a" lacks S215.
constexpr std::array<FirmwareEdition, 9> kFirmwareEditions = {{
    {"R6.120K47a-Q56_3X_MBT", "ZOLT1", "47ab", "русская версия beta 47a", true, true, false},
    {"QK_beta48a-Q56_3X_MBT", "ZOLT1", "48ab", "русская версия beta 48a", true, true, false},
    {"R6.120K47-Q56_3X_MBT", "ZOLT1", "47b", "русская версия beta 47", true, true, false},
    {"R4.610-Q56_3X_MBT", "ZOLT1", "4610", "базовая версия 4.610", false, false, false},
    {"TRX7_R5.318.GB1-Q57_L64_WNE", "ZOLT2", "gb1", "первый официальный релиз", true, true, true},
    {"TRX7 beta ver. 64a--Q56_L64_WNE", "ZOLT2", "64a", "русская версия beta 64а", true, false, false},
    {"TRX7 beta ver. 65a--Q56_L64_WNE", "ZOLT2", "65a", "русская версия beta 65а", true, true, false},
    {"TRX7 beta ver. 66a--Q56_L64_WNE", "ZOLT2", "66a", "русская версия beta 66а", true, true, false},
    {"TRX7 beta ver. 67 --Q56_L64_WNE", "ZOLT2", "67", "русская версия beta 67", true, true, false},
}};

}  // namespace

std::span<const FirmwareEdition> firmwareEditions() {
    return kFirmwareEditions;
}

const FirmwareEdition* editionWithCode(const std::string& code) {
    for (const FirmwareEdition& edition : kFirmwareEditions)
        if (code == edition.code) return &edition;
    return nullptr;
}

}  // namespace lt
