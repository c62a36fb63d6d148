// S-register storage and the register set each edition provides.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>

#include "editions.h"

namespace sim {

// Registers are numbered 0..255 and hold one byte each. A register the
// edition does not have is absent: queries and assignments must fail.
class RegisterFile {
public:
    static constexpr int kCount = 256;

    void add(int n, std::uint8_t value);
    bool has(int n) const;
    int get(int n) const;             // -1 when absent
    bool set(int n, int value);       // false when absent or value not 0..255

    bool operator==(const RegisterFile&) const = default;

private:
    std::bitset<kCount> present_;
    std::array<std::uint8_t, kCount> values_{};
};

// Power-on registers and defaults of an edition; Unknown behaves like 65a.
RegisterFile factoryRegisters(Edition edition);

}  // namespace sim
