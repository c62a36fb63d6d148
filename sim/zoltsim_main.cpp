// zoltsim: serves the simulated modem on a pseudo-terminal so the tuner
// (or Wine running it) can open it like a serial port.

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "modem.h"

namespace {

struct Options {
    sim::Edition edition = sim::Edition::B65a;
    std::string link;
    std::string logPath;
    std::optional<std::string> identification;
    bool silent = false;
    bool shortValues = false;
    bool malformedValues = false;
    bool noEcho = false;
    bool monotonicLog = false;
    std::uint32_t delayMs = 0;
};

void usage(std::FILE* to) {
    std::fprintf(to,
                 "usage: zoltsim [--edition CODE] [--link PATH] [--log FILE] [--silent]\n"
                 "               [--short-values] [--malformed-values] [--no-echo] [--delay MS]\n"
                 "               [--ident TEXT] [--monotonic-log]\n"
                 "editions: 47ab 48ab 47b 4610 gb1 64a 65a 66a 67 unknown (default 65a)\n");
}

std::optional<Options> parseOptions(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        if (arg == "--edition") {
            const char* v = value();
            if (!v) return std::nullopt;
            o.edition = sim::editionFromCode(v);
            // A typo should not silently give the generic modem.
            if (o.edition == sim::Edition::Unknown && std::strcmp(v, "unknown") != 0) {
                std::fprintf(stderr, "zoltsim: unknown edition '%s'\n", v);
                return std::nullopt;
            }
        } else if (arg == "--link") {
            const char* v = value();
            if (!v) return std::nullopt;
            o.link = v;
        } else if (arg == "--log") {
            const char* v = value();
            if (!v) return std::nullopt;
            o.logPath = v;
        } else if (arg == "--ident") {
            const char* v = value();
            if (!v) return std::nullopt;
            o.identification = v;
        } else if (arg == "--delay") {
            const char* v = value();
            if (!v) return std::nullopt;
            char* end = nullptr;
            errno = 0;
            unsigned long ms = std::strtoul(v, &end, 10);
            if (errno != 0 || end == v || *end != '\0' || ms > 600000) return std::nullopt;
            o.delayMs = static_cast<std::uint32_t>(ms);
        } else if (arg == "--silent") {
            o.silent = true;
        } else if (arg == "--short-values") {
            o.shortValues = true;
        } else if (arg == "--malformed-values") {
            o.malformedValues = true;
        } else if (arg == "--no-echo") {
            o.noEcho = true;
        } else if (arg == "--monotonic-log") {
            o.monotonicLog = true;
        } else if (arg == "--help" || arg == "-h") {
            usage(stdout);
            std::exit(0);
        } else {
            std::fprintf(stderr, "zoltsim: unexpected argument '%s'\n", arg.c_str());
            return std::nullopt;
        }
    }
    return o;
}

int signalPipe[2] = {-1, -1};

void onSignal(int) {
    const int saved = errno;
    const char c = 1;
    [[maybe_unused]] ssize_t n = write(signalPipe[1], &c, 1);
    errno = saved;
}

bool installSignals() {
    if (pipe(signalPipe) != 0) return false;
    for (int fd : signalPipe) {
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
        fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    for (int s : {SIGTERM, SIGINT, SIGHUP}) sigaction(s, &sa, nullptr);
    signal(SIGPIPE, SIG_IGN);
    return true;
}

class Clock {
public:
    Clock() : start_(now()) {}
    std::uint64_t micros() const { return now() - start_; }
    // The system's monotonic clock at micros() == 0, for logs that are compared with
    // other programs' time stamps.
    std::uint64_t origin() const { return start_; }

private:
    static std::uint64_t now() {
        timespec ts{};
        clock_gettime(CLOCK_MONOTONIC, &ts);
        return static_cast<std::uint64_t>(ts.tv_sec) * 1000000u +
               static_cast<std::uint64_t>(ts.tv_nsec) / 1000u;
    }
    std::uint64_t start_;
};

std::string escaped(unsigned char b) {
    switch (b) {
        case '\r': return "'\\r'";
        case '\n': return "'\\n'";
        case '\t': return "'\\t'";
        case '\b': return "'\\b'";
        case '\\': return "'\\\\'";
        case '\'': return "'\\''";
        default: break;
    }
    char buf[8];
    if (b >= 0x20 && b < 0x7f)
        std::snprintf(buf, sizeof buf, "'%c'", b);
    else
        std::snprintf(buf, sizeof buf, "'\\x%02x'", b);
    return buf;
}

void writeAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;  // a broken log must not stop the modem
        done += static_cast<std::size_t>(n);
    }
}

void logByte(int fd, std::uint64_t micros, unsigned char b) {
    char head[48];
    std::snprintf(head, sizeof head, "%llu.%03llu %u ",
                  static_cast<unsigned long long>(micros / 1000),
                  static_cast<unsigned long long>(micros % 1000), static_cast<unsigned>(b));
    // One write per line keeps lines whole and on disk as they happen.
    writeAll(fd, head + escaped(b) + "\n");
}

struct Pty {
    int master = -1;
    int slave = -1;  // held open so the master never sees a hangup
    std::string slaveName;
};

std::optional<Pty> openPty() {
    Pty p;
    p.master = posix_openpt(O_RDWR | O_NOCTTY);
    if (p.master < 0) return std::nullopt;
    if (grantpt(p.master) != 0 || unlockpt(p.master) != 0) return std::nullopt;
    const char* name = ptsname(p.master);
    if (!name) return std::nullopt;
    p.slaveName = name;
    p.slave = open(name, O_RDWR | O_NOCTTY);
    if (p.slave < 0) return std::nullopt;

    // Raw, so CR is not turned into LF and the line discipline adds no echo
    // of its own on top of the modem's.
    termios t{};
    if (tcgetattr(p.slave, &t) != 0) return std::nullopt;
    cfmakeraw(&t);
    if (tcsetattr(p.slave, TCSANOW, &t) != 0) return std::nullopt;

    fcntl(p.master, F_SETFL, fcntl(p.master, F_GETFL) | O_NONBLOCK);
    fcntl(p.master, F_SETFD, FD_CLOEXEC);
    fcntl(p.slave, F_SETFD, FD_CLOEXEC);
    return p;
}

bool makeLink(const std::string& link, const std::string& target) {
    struct stat st {};
    if (lstat(link.c_str(), &st) == 0) {
        if (!S_ISLNK(st.st_mode)) {
            std::fprintf(stderr, "zoltsim: %s exists and is not a symlink\n", link.c_str());
            return false;
        }
        unlink(link.c_str());
    }
    if (symlink(target.c_str(), link.c_str()) != 0) {
        std::fprintf(stderr, "zoltsim: cannot create %s: %s\n", link.c_str(), std::strerror(errno));
        return false;
    }
    return true;
}

// After an error on the master, retry this often instead of spinning.
constexpr int kRetryAfterErrorMs = 100;

int serve(const Pty& pty, sim::Modem& modem, int logFd, bool monotonicLog) {
    Clock clock;
    const std::uint64_t logOrigin = monotonicLog ? clock.origin() : 0;
    std::string unsent;
    bool masterFailed = false;

    for (;;) {
        const std::uint64_t nowUs = clock.micros();
        const auto nowMs = static_cast<std::uint32_t>(nowUs / 1000);

        if (modem.hasOutput(nowMs)) {
            std::string out = modem.takeOutput(nowMs);
            // A reader that never drains the port must not grow us forever.
            if (unsent.size() + out.size() <= sim::OutputQueue::kCapacity) unsent += out;
        }
        if (!unsent.empty() && !masterFailed) {
            ssize_t n = write(pty.master, unsent.data(), unsent.size());
            if (n > 0)
                unsent.erase(0, static_cast<std::size_t>(n));
            else if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
                masterFailed = true;
        }

        int timeout = -1;
        if (auto due = modem.nextOutputDueMs()) {
            const auto wait = static_cast<std::int32_t>(*due - nowMs);
            timeout = wait > 0 ? wait + 1 : 0;  // +1: round the microseconds up
        }
        if (masterFailed && (timeout < 0 || timeout > kRetryAfterErrorMs))
            timeout = kRetryAfterErrorMs;

        pollfd fds[2] = {};
        fds[0].fd = signalPipe[0];
        fds[0].events = POLLIN;
        fds[1].fd = masterFailed ? -1 : pty.master;  // negative fd: ignored by poll
        fds[1].events = static_cast<short>(POLLIN | (unsent.empty() ? 0 : POLLOUT));

        const int ready = poll(fds, 2, timeout);
        if (ready < 0) {
            if (errno == EINTR) continue;
            std::perror("zoltsim: poll");
            return 1;
        }
        if (fds[0].revents & POLLIN) return 0;

        if (masterFailed) {
            if (ready == 0) masterFailed = false;  // try the master again
            continue;
        }

        if (fds[1].revents & POLLIN) {
            unsigned char buf[4096];
            ssize_t n = read(pty.master, buf, sizeof buf);
            if (n > 0) {
                const std::uint64_t atUs = clock.micros();
                const auto atMs = static_cast<std::uint32_t>(atUs / 1000);
                for (ssize_t i = 0; i < n; ++i) {
                    if (logFd >= 0) logByte(logFd, logOrigin + atUs, buf[i]);
                    modem.receive(buf[i], atMs);
                }
                modem.clearLog();  // the log file is the record here
            } else if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
                masterFailed = true;
            }
        } else if (fds[1].revents & (POLLHUP | POLLERR | POLLNVAL)) {
            masterFailed = true;
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    auto options = parseOptions(argc, argv);
    if (!options) {
        usage(stderr);
        return 2;
    }

    sim::Modem modem(options->edition);
    modem.setSilent(options->silent);
    modem.setShortValues(options->shortValues);
    modem.setMalformedValues(options->malformedValues);
    modem.setEchoDropped(options->noEcho);
    modem.setReplyDelayMs(options->delayMs);
    if (options->identification) modem.setIdentification(*options->identification);

    if (!installSignals()) {
        std::perror("zoltsim: pipe");
        return 1;
    }

    auto pty = openPty();
    if (!pty) {
        std::perror("zoltsim: pseudo-terminal");
        return 1;
    }

    int logFd = -1;
    if (!options->logPath.empty()) {
        logFd = open(options->logPath.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        if (logFd < 0) {
            std::fprintf(stderr, "zoltsim: cannot open log %s: %s\n", options->logPath.c_str(),
                         std::strerror(errno));
            return 1;
        }
    }

    if (!options->link.empty() && !makeLink(options->link, pty->slaveName)) return 1;

    std::printf("PTY %s\n", pty->slaveName.c_str());
    std::fflush(stdout);

    const int rc = serve(*pty, modem, logFd, options->monotonicLog);

    if (!options->link.empty()) unlink(options->link.c_str());
    if (logFd >= 0) close(logFd);
    close(pty->slave);
    close(pty->master);
    return rc;
}
