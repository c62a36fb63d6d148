#include "control_ids.h"

#include <cctype>

namespace lt {
namespace {

struct Prefix {
    const char* text;
    int base;
};

// Longer prefixes that contain a shorter one ("RxLabel", "LMDGroupBox") are matched
// whole from the start of the name, so their order here does not matter.
constexpr Prefix kPrefixes[] = {
    {"PageControl", 100},   {"TabSheet", 200},        {"GroupBox", 300},
    {"LMDGroupBox", 400},   {"Label", 500},           {"RxLabel", 600},
    {"Edit", 700},          {"SpeedButton", 800},     {"Button", 900},
    {"LMD3DEffectButton", 1000}, {"ComboBox", 1100},  {"CheckListBox", 1200},
    {"RxSlider", 1300},     {"Memo", 1400},           {"Shape", 1500},
    {"LMDShapeControl", 1600}, {"LMDTechnicalLine", 1700},
};

}  // namespace

int controlId(const std::string& name) {
    size_t digits = name.size();
    while (digits > 0 && std::isdigit(static_cast<unsigned char>(name[digits - 1]))) --digits;
    if (digits == name.size() || name.size() - digits > 2) return 0;
    const std::string prefix = name.substr(0, digits);
    const int number = std::stoi(name.substr(digits));
    for (const Prefix& p : kPrefixes)
        if (prefix == p.text) return p.base + number;
    return 0;
}

std::string controlName(int id) {
    const int number = id % kControlIdStride;
    for (const Prefix& p : kPrefixes)
        if (id - number == p.base) return p.text + std::to_string(number);
    return {};
}

}  // namespace lt
