#include "modem.h"

#include "base/failure.h"

namespace lt {
namespace {

// A line longer than any result text is noise; keep only its start.
constexpr size_t kMaxLine = 256;

std::string trimmed(const std::string& s) {
    const size_t first = s.find_first_not_of(" \t\n");
    if (first == std::string::npos) return "";
    const size_t last = s.find_last_not_of(" \t\n");
    return s.substr(first, last - first + 1);
}

void raise(const std::function<void()>& event) {
    if (event) event();
}

}  // namespace

Modem::Modem(CommPort& port, Clock& clock) : port_(port), clock_(clock) {}

void Modem::send(const std::string& text) {
    for (unsigned char c : text) {
        // Counted from the start of the write, so the time the system takes to accept the
        // byte is part of the pause instead of adding to it.
        const uint32_t start = clock_.tickMs();
        if (!port_.writeByte(c)) throw Failure("TVaModem: error writing to comm.");
        if (charDelay <= 0) continue;
        // "More than charDelay" on the tick count: sleep until the first tick that is,
        // rather than spin or round the pause up to whole sleeps.
        const uint32_t wait = static_cast<uint32_t>(charDelay);
        while (clock_.tickMs() - start <= wait) clock_.sleepUntil(start + wait + 1);
    }
}

void Modem::resetToIdle() { line_.clear(); }

void Modem::feed(const std::string& bytes) {
    for (char c : bytes) {
        if (c == '\r') {
            const std::string line = trimmed(line_);
            line_.clear();
            if (!line.empty()) recognise(line);
        } else if (line_.size() < kMaxLine) {
            line_ += c;
        }
    }
}

void Modem::recognise(const std::string& line) {
    if (line == results.ok) raise(onOk);
    else if (line == results.error) raise(onError);
    else if (line == results.noCarrier) raise(onNoCarrier);
    else if (line == results.noDialTone) raise(onNoDialTone);
    else if (line == results.voice) raise(onVoice);
    else if (line == results.busy) raise(onBusy);
    else if (line == results.ring) raise(onRing);
    else if (line.compare(0, results.connect.size(), results.connect) == 0 && onConnect) onConnect(line);
}

}  // namespace lt
