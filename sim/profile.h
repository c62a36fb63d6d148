// The settings a modem keeps per profile: what &W stores and Z restores.
#pragma once

#include <string>

#include "editions.h"
#include "registers.h"

namespace sim {

struct Profile {
    RegisterFile registers;
    bool echo = true;
    std::string ms;  // +MS text, e.g. "V92,1,300,48000,300,56000"

    bool operator==(const Profile&) const = default;
};

inline constexpr const char* kDefaultMs = "V92,1,300,48000,300,56000";

Profile factoryProfile(Edition edition);

}  // namespace sim
