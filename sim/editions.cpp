#include "editions.h"

#include <cctype>

namespace sim {
namespace {

struct EditionInfo {
    Edition edition;
    const char* code;
    const char* identification;
};

// The identification strings are matched byte for byte by the tuner, so
// keep them exactly as the firmware prints them (note the blank in "67 --").
constexpr std::array<EditionInfo, 10> kEditions = {{
    {Edition::R47ab, "47ab", "R6.120K47a-Q56_3X_MBT"},
    {Edition::R48ab, "48ab", "QK_beta48a-Q56_3X_MBT"},
    {Edition::R47b, "47b", "R6.120K47-Q56_3X_MBT"},
    {Edition::R4610, "4610", "R4.610-Q56_3X_MBT"},
    {Edition::Gb1, "gb1", "TRX7_R5.318.GB1-Q57_L64_WNE"},
    {Edition::B64a, "64a", "TRX7 beta ver. 64a--Q56_L64_WNE"},
    {Edition::B65a, "65a", "TRX7 beta ver. 65a--Q56_L64_WNE"},
    {Edition::B66a, "66a", "TRX7 beta ver. 66a--Q56_L64_WNE"},
    {Edition::B67, "67", "TRX7 beta ver. 67 --Q56_L64_WNE"},
    {Edition::Unknown, "unknown", "Generic V.92 Data/Fax Modem Rev 1.0"},
}};

const EditionInfo& info(Edition edition) {
    for (const auto& entry : kEditions) {
        if (entry.edition == edition) return entry;
    }
    return kEditions.back();
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

}  // namespace

std::string identificationText(Edition edition) { return info(edition).identification; }

Edition editionFromCode(std::string_view code) {
    for (const auto& entry : kEditions) {
        if (entry.edition != Edition::Unknown && equalsIgnoringCase(code, entry.code))
            return entry.edition;
    }
    return Edition::Unknown;
}

std::string editionCode(Edition edition) { return info(edition).code; }

}  // namespace sim
