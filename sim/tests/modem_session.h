// Shared helpers: talk to a sim::Modem the way a serial port would.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "modem.h"

namespace simtest {

inline constexpr std::string_view kOk = "\r\nOK\r\n";
inline constexpr std::string_view kError = "\r\nERROR\r\n";

// Sends every byte of `text` at time `t` and returns what is due by then.
inline std::string converse(sim::Modem& m, std::string_view text, std::uint32_t t = 0) {
    for (char c : text) m.receive(static_cast<unsigned char>(c), t);
    return m.takeOutput(t);
}

// Printable form for failure messages.
inline std::string visible(std::string_view s) {
    std::string out;
    for (char c : s) {
        if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else out += c;
    }
    return out;
}

// A modem with echo switched off, so replies can be compared alone.
inline sim::Modem quietModem(sim::Edition e = sim::Edition::B65a) {
    sim::Modem m(e);
    converse(m, "ATE0\r");
    return m;
}

}  // namespace simtest
