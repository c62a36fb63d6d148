#include "command_interpreter.h"

#include <array>
#include <cctype>
#include <optional>

namespace sim {
namespace {

constexpr std::string_view kOk = "\r\nOK\r\n";
constexpr std::string_view kError = "\r\nERROR\r\n";

// Anything longer than this many digits is certainly out of range; stop
// accumulating so long digit runs cannot overflow.
constexpr long kNumberCeiling = 100000;

std::string normalise(std::string_view line) {
    // V.250 ignores blanks in command lines and is case-insensitive.
    std::string out;
    out.reserve(line.size());
    for (char c : line) {
        if (c == ' ') continue;
        out.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
    }
    return out;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string threeDigits(int v) {
    std::string s = std::to_string(v);
    while (s.size() < 3) s.insert(s.begin(), '0');
    return s;
}

std::string registerText(int v, const ModemState& state) {
    if (state.malformedValues) return malformed(std::to_string(v));
    return state.shortValues ? std::to_string(v) : threeDigits(v);
}

std::string infoLine(std::string_view text) {
    std::string s = "\r\n";
    s += text;
    s += "\r\n";
    return s;
}

// Plausible answers for the other ATIn queries; only I3 matters to the tuner.
std::optional<std::string> otherIdentification(long n) {
    switch (n) {
        case 0: return "56000";
        case 1: return "255";
        case 2: return "OK";
        case 4: return "Olvix ZOLT";
        case 5: return "Country code 0x00";
        case 6: return "No diagnostics available";
        case 7: return "Olvix analogue modem";
        default: return std::nullopt;
    }
}

bool validMs(std::string_view args) {
    static constexpr std::array<std::string_view, 5> kCarriers = {"V32", "V32B", "V34", "V90",
                                                                  "V92"};
    std::array<std::string_view, 6> fields;
    std::size_t count = 0;
    std::size_t start = 0;
    while (true) {
        std::size_t comma = args.find(',', start);
        std::string_view field = args.substr(start, comma == std::string_view::npos
                                                        ? std::string_view::npos
                                                        : comma - start);
        if (count == fields.size()) return false;
        fields[count++] = field;
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    if (count != fields.size()) return false;

    bool carrierOk = false;
    for (auto c : kCarriers) carrierOk = carrierOk || fields[0] == c;
    if (!carrierOk) return false;

    for (std::size_t i = 1; i < fields.size(); ++i) {
        if (fields[i].empty() || fields[i].size() > 6) return false;
        for (char c : fields[i])
            if (!isDigit(c)) return false;
    }
    return true;
}

class LineRunner {
public:
    LineRunner(std::string text, ModemState& state) : s_(std::move(text)), state_(state) {}

    std::string run() {
        pos_ = 2;  // past "AT"
        while (pos_ < s_.size()) {
            if (!step()) return out_ + std::string(kError);
        }
        return out_ + std::string(kOk);
    }

private:
    bool atEnd() const { return pos_ >= s_.size(); }
    char peek() const { return atEnd() ? '\0' : s_[pos_]; }

    // Optional decimal number; `fallback` when no digits follow.
    long number(long fallback) {
        if (!isDigit(peek())) return fallback;
        long v = 0;
        while (isDigit(peek())) {
            if (v < kNumberCeiling) v = v * 10 + (s_[pos_] - '0');
            ++pos_;
        }
        return v;
    }

    bool step() {
        const char c = s_[pos_++];
        switch (c) {
            case ';':
                return true;  // separator after extended commands
            case 'E': {
                long n = number(0);
                if (n > 1) return false;
                state_.active.echo = (n == 1);
                return true;
            }
            case 'Q':
                return number(0) == 0;  // only verbose result codes are offered
            case 'V':
                return number(0) == 1;
            case 'Z': {
                long n = number(0);
                if (n > 1) return false;
                state_.active = state_.stored;
                return true;
            }
            case 'I':
                return identification(number(0));
            case 'S':
                return sRegister();
            case '&':
                return ampersand();
            case '+':
                return extended();
            default:
                return false;
        }
    }

    bool identification(long n) {
        if (n == 3) {
            out_ += infoLine(state_.malformedValues ? malformed(state_.identification) : state_.identification);
            return true;
        }
        auto text = otherIdentification(n);
        if (!text) return false;
        out_ += infoLine(*text);
        return true;
    }

    bool sRegister() {
        if (!isDigit(peek())) return false;
        const long n = number(-1);
        if (n >= RegisterFile::kCount || !state_.active.registers.has(static_cast<int>(n)))
            return false;
        const int reg = static_cast<int>(n);

        if (peek() == '?') {
            ++pos_;
            out_ += infoLine(registerText(state_.active.registers.get(reg), state_));
            return true;
        }
        if (peek() == '=') {
            ++pos_;
            if (!isDigit(peek())) return false;
            const long v = number(-1);
            return state_.active.registers.set(reg, v > 255 ? -1 : static_cast<int>(v));
        }
        return false;
    }

    bool ampersand() {
        const char c = atEnd() ? '\0' : s_[pos_++];
        const long n = number(0);
        if (c == 'W' && n <= 1) {
            state_.stored = state_.active;
            return true;
        }
        if (c == 'F' && n == 0) {
            state_.active = factoryProfile(state_.edition);
            return true;
        }
        return false;
    }

    bool extended() {
        std::size_t nameEnd = pos_;
        while (nameEnd < s_.size() && std::isalnum(static_cast<unsigned char>(s_[nameEnd])))
            ++nameEnd;
        const std::string_view name = std::string_view(s_).substr(pos_, nameEnd - pos_);
        pos_ = nameEnd;
        if (name != "MS") return false;

        if (peek() == '?') {
            ++pos_;
            out_ += infoLine("+MS: " + msText());
            return true;
        }
        if (peek() != '=') return false;
        ++pos_;
        if (peek() == '?') {
            ++pos_;
            out_ += infoLine("+MS: (V32,V32B,V34,V90,V92),(0,1),(300-33600),(300-56000),"
                             "(300-33600),(300-56000)");
            return true;
        }
        // An extended command's arguments run to ';' or the end of the line.
        std::size_t end = s_.find(';', pos_);
        if (end == std::string::npos) end = s_.size();
        const std::string_view args = std::string_view(s_).substr(pos_, end - pos_);
        pos_ = end;
        if (!validMs(args)) return false;
        state_.active.ms = std::string(args);
        return true;
    }

    // The +MS values; malformed ones keep the carrier, only the numbers after it break.
    std::string msText() const {
        const std::string& ms = state_.active.ms;
        if (!state_.malformedValues) return ms;
        const std::size_t comma = ms.find(',');
        if (comma == std::string::npos) return ms;
        return ms.substr(0, comma) + malformed(std::string_view(ms).substr(comma));
    }

    std::string s_;
    ModemState& state_;
    std::size_t pos_ = 0;
    std::string out_;
};

}  // namespace

std::string malformed(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        if (!isDigit(text[i])) {
            out += text[i++];
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && isDigit(text[end])) ++end;
        if (end - i > 1) out += '#';
        out += text[i];
        i = end;
    }
    return out;
}

std::string interpretLine(std::string_view line, bool overflowed, ModemState& state) {
    if (line.size() < 2 || std::toupper(static_cast<unsigned char>(line[0])) != 'A' ||
        std::toupper(static_cast<unsigned char>(line[1])) != 'T')
        return {};
    if (overflowed) return std::string(kError);
    return LineRunner(normalise(line), state).run();
}

}  // namespace sim
