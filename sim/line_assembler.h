// Collects command bytes into lines the way the modem's input buffer does.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace sim {

struct CommandLine {
    std::string text;         // without the terminating CR
    bool overflowed = false;  // more than kCapacity characters were sent
};

// CR ends a line, LF is ignored, backspace removes the last character.
// Characters past the capacity are dropped and the line is marked
// overflowed, so a runaway sender cannot grow the buffer.
class LineAssembler {
public:
    static constexpr std::size_t kCapacity = 256;

    std::optional<CommandLine> feed(unsigned char byte);

private:
    std::string buffer_;
    bool overflowed_ = false;
};

}  // namespace sim
