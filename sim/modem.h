// A simulated ZOLT modem as seen from the serial line. Time is virtual:
// callers pass the current time in milliseconds; nothing here reads a clock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "command_interpreter.h"
#include "editions.h"
#include "line_assembler.h"
#include "output_queue.h"

namespace sim {

class Modem {
public:
    explicit Modem(Edition edition = Edition::B65a);

    // One byte from the computer at virtual time nowMs.
    void receive(unsigned char byte, std::uint32_t nowMs);

    // Output whose due time is at or before nowMs.
    bool hasOutput(std::uint32_t nowMs) const;
    std::string takeOutput(std::uint32_t nowMs);
    // Due time of the oldest pending byte, for callers that sleep until then.
    std::optional<std::uint32_t> nextOutputDueMs() const;

    Edition edition() const { return state_.edition; }

    // Active profile. setRegister throws std::out_of_range for a register the
    // edition lacks or a value outside 0..255; reg returns -1 for a missing one.
    void setRegister(int n, int value);
    int reg(int n) const;
    bool hasRegister(int n) const;
    bool echo() const { return state_.active.echo; }
    std::string msValue() const { return state_.active.ms; }
    void setMsValue(std::string value) { state_.active.ms = std::move(value); }

    // Stored profile, to check what &W wrote.
    int storedReg(int n) const { return state_.stored.registers.get(n); }
    std::string storedMsValue() const { return state_.stored.ms; }

    // Misbehaviour switches.
    void setSilent(bool on) { silent_ = on; }
    void setShortValues(bool on) { state_.shortValues = on; }
    // Every register value, the +MS numbers and the digits of the identification
    // printed malformed (sim::malformed): no value read converts, no edition is known.
    void setMalformedValues(bool on) { state_.malformedValues = on; }
    void setEchoDropped(bool on) { echoDropped_ = on; }
    void setReplyDelayMs(std::uint32_t ms) { replyDelayMs_ = ms; }
    void setIdentification(std::string text) { state_.identification = std::move(text); }

    // Everything received, with virtual times. The log keeps the first
    // logLimit() bytes and counts the rest, so a long run stays bounded.
    struct Received {
        std::uint32_t timeMs;
        unsigned char byte;
    };
    const std::vector<Received>& log() const { return log_; }
    std::string receivedText() const;
    // Lines terminated by CR, CR removed; an unterminated tail is not a line.
    std::vector<std::string> commandLines() const;
    void clearLog();
    void setLogLimit(std::size_t entries) { logLimit_ = entries; }
    std::size_t logLimit() const { return logLimit_; }
    std::size_t droppedLogEntries() const { return droppedLog_; }

    std::size_t pendingOutputBytes() const { return output_.pending(); }

private:
    void emit(const std::string& bytes, std::uint32_t nowMs);

    ModemState state_;
    LineAssembler lines_;
    OutputQueue output_;

    bool silent_ = false;
    bool echoDropped_ = false;
    std::uint32_t replyDelayMs_ = 0;

    std::vector<Received> log_;
    std::size_t logLimit_ = std::size_t{1} << 20;
    std::size_t droppedLog_ = 0;
};

}  // namespace sim
