#include "modem.h"

#include <stdexcept>

namespace sim {

Modem::Modem(Edition edition) {
    state_.edition = edition;
    state_.active = factoryProfile(edition);
    state_.stored = state_.active;
    state_.identification = identificationText(edition);
}

void Modem::receive(unsigned char byte, std::uint32_t nowMs) {
    if (log_.size() < logLimit_)
        log_.push_back({nowMs, byte});
    else
        ++droppedLog_;

    if (silent_) return;  // a dead modem: no echo, no state change

    // Echo follows the setting in force when the byte arrives, so the CR of
    // "ATE0" is still echoed and the CR of "ATE1" is not.
    if (state_.active.echo && !echoDropped_) emit(std::string(1, static_cast<char>(byte)), nowMs);

    if (auto line = lines_.feed(byte)) {
        emit(interpretLine(line->text, line->overflowed, state_), nowMs);
    }
}

void Modem::emit(const std::string& bytes, std::uint32_t nowMs) {
    output_.push(bytes, nowMs + replyDelayMs_);
}

bool Modem::hasOutput(std::uint32_t nowMs) const { return output_.hasDue(nowMs); }

std::string Modem::takeOutput(std::uint32_t nowMs) { return output_.takeDue(nowMs); }

std::optional<std::uint32_t> Modem::nextOutputDueMs() const { return output_.nextDue(); }

void Modem::setRegister(int n, int value) {
    if (!state_.active.registers.set(n, value))
        throw std::out_of_range("register S" + std::to_string(n) + " missing or value " +
                                std::to_string(value) + " out of range");
}

int Modem::reg(int n) const { return state_.active.registers.get(n); }

bool Modem::hasRegister(int n) const { return state_.active.registers.has(n); }

std::string Modem::receivedText() const {
    std::string text;
    text.reserve(log_.size());
    for (const auto& r : log_) text.push_back(static_cast<char>(r.byte));
    return text;
}

std::vector<std::string> Modem::commandLines() const {
    std::vector<std::string> lines;
    std::string current;
    for (const auto& r : log_) {
        if (r.byte == '\r') {
            lines.push_back(std::move(current));
            current.clear();
        } else {
            current.push_back(static_cast<char>(r.byte));
        }
    }
    return lines;
}

void Modem::clearLog() {
    log_.clear();
    droppedLog_ = 0;
}

}  // namespace sim
