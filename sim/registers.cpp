#include "registers.h"

namespace sim {

void RegisterFile::add(int n, std::uint8_t value) {
    if (n < 0 || n >= kCount) return;
    present_.set(static_cast<std::size_t>(n));
    values_[static_cast<std::size_t>(n)] = value;
}

bool RegisterFile::has(int n) const {
    return n >= 0 && n < kCount && present_.test(static_cast<std::size_t>(n));
}

int RegisterFile::get(int n) const {
    return has(n) ? values_[static_cast<std::size_t>(n)] : -1;
}

bool RegisterFile::set(int n, int value) {
    if (!has(n) || value < 0 || value > 255) return false;
    values_[static_cast<std::size_t>(n)] = static_cast<std::uint8_t>(value);
    return true;
}

namespace {

struct Default {
    int n;
    std::uint8_t value;
};

// Hayes basics plus the common tuning registers every edition carries.
constexpr Default kCommon[] = {
    {0, 0},    {1, 0},   {2, 43},  {3, 13},   {4, 10},  {5, 8},   {6, 2},
    {7, 50},   {8, 2},   {9, 6},   {10, 14},  {11, 95}, {12, 50},
    {91, 10},                                            // transmit level
    {203, 25}, {204, 50}, {205, 10}, {206, 40}, {207, 4},  // busy-tone cadence
    {210, 5},                                            // symbol rate code
};

constexpr Default kS215{215, 55};  // line adaptation
constexpr Default kS216{216, 5};
constexpr Default kS218{218, 0};
constexpr Default kS17{17, 6};

void add(RegisterFile& regs, Default d) { regs.add(d.n, d.value); }

}  // namespace

RegisterFile factoryRegisters(Edition edition) {
    RegisterFile regs;
    for (const auto& d : kCommon) add(regs, d);

    switch (edition) {
        case Edition::R4610:
            break;  // the oldest firmware has none of the vendor registers
        case Edition::Gb1:
            add(regs, kS215);
            add(regs, kS216);
            add(regs, kS17);  // gb1 carries S17 in place of S218
            break;
        case Edition::B64a:
            add(regs, kS216);
            add(regs, kS218);
            break;
        case Edition::R47ab:
        case Edition::R48ab:
        case Edition::R47b:
        case Edition::B65a:
        case Edition::B66a:
        case Edition::B67:
        case Edition::Unknown:
            add(regs, kS215);
            add(regs, kS216);
            add(regs, kS218);
            break;
    }
    return regs;
}

}  // namespace sim
