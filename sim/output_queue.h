// Bytes the modem has produced, each with the virtual time it becomes due.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

namespace sim {

// Output leaves in the order it was produced: a byte is never released
// before the bytes ahead of it, even if the reply delay was lowered in
// between. Times are compared modulo 2^32 so a wrapping clock still works.
class OutputQueue {
public:
    static constexpr std::size_t kCapacity = 64 * 1024;

    // Bytes beyond kCapacity are dropped, as a full transmit buffer would.
    void push(std::string_view bytes, std::uint32_t dueMs);
    bool hasDue(std::uint32_t nowMs) const;
    std::string takeDue(std::uint32_t nowMs);
    std::optional<std::uint32_t> nextDue() const;
    std::size_t pending() const { return pending_; }

private:
    struct Chunk {
        std::uint32_t dueMs;
        std::string bytes;
    };
    std::deque<Chunk> chunks_;
    std::size_t pending_ = 0;
};

// True when time a is at or after time b on a wrapping 32-bit clock.
inline bool notBefore(std::uint32_t a, std::uint32_t b) {
    return static_cast<std::int32_t>(a - b) >= 0;
}

}  // namespace sim
