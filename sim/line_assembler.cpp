#include "line_assembler.h"

#include <utility>

namespace sim {

std::optional<CommandLine> LineAssembler::feed(unsigned char byte) {
    switch (byte) {
        case '\r': {
            CommandLine line{std::move(buffer_), overflowed_};
            buffer_.clear();
            overflowed_ = false;
            return line;
        }
        case '\n':
            return std::nullopt;
        case '\b':
            if (!buffer_.empty()) buffer_.pop_back();
            return std::nullopt;
        default:
            if (buffer_.size() < kCapacity)
                buffer_.push_back(static_cast<char>(byte));
            else
                overflowed_ = true;
            return std::nullopt;
    }
}

}  // namespace sim
