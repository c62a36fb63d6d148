// Executes one AT command line against the modem's state.
#pragma once

#include <string>
#include <string_view>

#include "editions.h"
#include "profile.h"

namespace sim {

struct ModemState {
    Edition edition = Edition::B65a;
    Profile active;
    Profile stored;
    std::string identification;  // ATI3 text
    bool shortValues = false;    // print S-register values without leading zeros
    // Print every value wrong, never as the three digits a reader cuts: see malformed().
    bool malformedValues = false;
};

// Returns the complete reply to one line (information text and final
// result), without the echo. Lines that do not start with "AT" get no
// reply at all. Commands before a failing one keep their effect; the rest
// of the line is skipped, as on the real firmware.
std::string interpretLine(std::string_view line, bool overflowed, ModemState& state);

// The text with each run of digits printed as a broken firmware does: a single digit as
// it is (too short for three), a longer run as '#' and its first digit ("25" -> "#2").
std::string malformed(std::string_view text);

}  // namespace sim
