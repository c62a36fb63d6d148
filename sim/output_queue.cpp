#include "output_queue.h"

namespace sim {

void OutputQueue::push(std::string_view bytes, std::uint32_t dueMs) {
    std::size_t room = kCapacity - pending_;
    if (bytes.size() > room) bytes = bytes.substr(0, room);
    if (bytes.empty()) return;

    // Only the front is ever released, so a chunk due earlier than the one
    // before it simply waits; order is kept without adjusting times.
    if (!chunks_.empty() && chunks_.back().dueMs == dueMs) {
        chunks_.back().bytes.append(bytes);
        pending_ += bytes.size();
        return;
    }
    chunks_.push_back({dueMs, std::string(bytes)});
    pending_ += bytes.size();
}

bool OutputQueue::hasDue(std::uint32_t nowMs) const {
    return !chunks_.empty() && notBefore(nowMs, chunks_.front().dueMs);
}

std::string OutputQueue::takeDue(std::uint32_t nowMs) {
    std::string out;
    while (hasDue(nowMs)) {
        out += chunks_.front().bytes;
        pending_ -= chunks_.front().bytes.size();
        chunks_.pop_front();
    }
    return out;
}

std::optional<std::uint32_t> OutputQueue::nextDue() const {
    if (chunks_.empty()) return std::nullopt;
    return chunks_.front().dueMs;
}

}  // namespace sim
