// End to end: run the zoltsim program and talk to it through its pty.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <regex>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

std::string tempPath(const std::string& name) {
    static int counter = 0;
    return ::testing::TempDir() + "zoltsim_" + std::to_string(getpid()) + "_" +
           std::to_string(++counter) + "_" + name;
}

// Reads until `want` bytes arrived or the deadline passes; never reads
// past `want`, so a following line stays unread.
std::string readFor(int fd, std::size_t want, int timeoutMs) {
    std::string got;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (got.size() < want) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) break;
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
        char buf[512];
        ssize_t n = read(fd, buf, std::min(sizeof buf, want - got.size()));
        if (n <= 0) break;
        got.append(buf, static_cast<std::size_t>(n));
    }
    return got;
}

class Zoltsim {
public:
    explicit Zoltsim(std::vector<std::string> args) {
        int out[2];
        if (pipe(out) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(out[1], STDOUT_FILENO);
            close(out[0]);
            close(out[1]);
            std::vector<char*> argv;
            std::string exe = ZOLTSIM_EXECUTABLE;
            argv.push_back(exe.data());
            for (auto& a : args) argv.push_back(a.data());
            argv.push_back(nullptr);
            execv(exe.c_str(), argv.data());
            _exit(127);
        }
        close(out[1]);
        stdout_ = out[0];
        firstLine_ = readLine(5000);
        if (firstLine_.rfind("PTY ", 0) == 0) ptyPath_ = firstLine_.substr(4);
    }

    ~Zoltsim() {
        if (pid_ > 0 && !reaped_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (stdout_ >= 0) close(stdout_);
    }

    pid_t pid() const { return pid_; }
    const std::string& ptyPath() const { return ptyPath_; }
    const std::string& firstLine() const { return firstLine_; }

    // Sends `sig` and waits; returns the exit status (-1 if killed or stuck).
    int stop(int sig, rusage* usage = nullptr) {
        kill(pid_, sig);
        return reap(usage);
    }

    int reap(rusage* usage = nullptr) {
        int status = 0;
        const auto deadline = Clock::now() + std::chrono::seconds(5);
        rusage ru{};
        while (Clock::now() < deadline) {
            pid_t r = wait4(pid_, &status, WNOHANG, &ru);
            if (r == pid_) {
                reaped_ = true;
                if (usage) *usage = ru;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return -1;
    }

private:
    std::string readLine(int timeoutMs) {
        std::string line;
        while (true) {
            std::string c = readFor(stdout_, 1, timeoutMs);
            if (c.empty() || c == "\n") return line;
            line += c;
        }
    }

    pid_t pid_ = -1;
    bool reaped_ = false;
    int stdout_ = -1;
    std::string firstLine_;
    std::string ptyPath_;
};

int openPort(const std::string& path) {
    int fd = open(path.c_str(), O_RDWR | O_NOCTTY);
    if (fd < 0) return -1;
    termios t{};
    tcgetattr(fd, &t);
    cfmakeraw(&t);
    tcsetattr(fd, TCSANOW, &t);
    return fd;
}

void sendText(int fd, const std::string& text) {
    ASSERT_EQ(write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
}

std::vector<std::string> readLines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    return lines;
}

TEST(ZoltsimPty, EchoQueryAndByteLog) {
    const std::string logPath = tempPath("bytes.log");
    Zoltsim z({"--log", logPath});
    ASSERT_FALSE(z.ptyPath().empty()) << "first line: " << z.firstLine();

    const int fd = openPort(z.ptyPath());
    ASSERT_GE(fd, 0);
    const std::string request = "ATE1\rATS203?\r";
    const std::string want = "ATE1\r\r\nOK\r\nATS203?\r\r\n025\r\n\r\nOK\r\n";
    sendText(fd, request);
    EXPECT_EQ(readFor(fd, want.size(), 3000), want);
    EXPECT_EQ(readFor(fd, 1, 200), "") << "nothing beyond the reply";
    close(fd);
    EXPECT_EQ(z.stop(SIGTERM), 0);

    const auto lines = readLines(logPath);
    ASSERT_EQ(lines.size(), request.size());
    const std::regex form(R"(^(\d+)\.(\d{3}) (\d+) '(.+)'$)");
    double previous = -1;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(lines[i], m, form)) << lines[i];
        EXPECT_EQ(std::stoi(m[3]), static_cast<unsigned char>(request[i])) << lines[i];
        const double t = std::stod(m[1].str() + "." + m[2].str());
        EXPECT_GE(t, previous) << lines[i];
        previous = t;
        const std::string shown = request[i] == '\r' ? "\\r" : std::string(1, request[i]);
        EXPECT_EQ(m[4], shown) << lines[i];
    }
    unlink(logPath.c_str());
}

TEST(ZoltsimPty, SurvivesThePortBeingClosedAndReopenedViaLink) {
    const std::string link = tempPath("ttyZOLT");
    Zoltsim z({"--link", link});
    ASSERT_FALSE(z.ptyPath().empty()) << z.firstLine();
    char target[256] = {};
    ASSERT_GT(readlink(link.c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(z.ptyPath(), target);

    // Opened without touching termios: zoltsim must have made the line raw
    // and, by keeping the slave open itself, kept it raw across reopening
    // (the last close would otherwise reset it to cooked mode).
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        const int fd = open(link.c_str(), O_RDWR | O_NOCTTY);
        ASSERT_GE(fd, 0);
        sendText(fd, "ATS10?\r");
        const std::string want = "ATS10?\r\r\n014\r\n\r\nOK\r\n";
        EXPECT_EQ(readFor(fd, want.size(), 3000), want);
        close(fd);
    }
    EXPECT_EQ(z.stop(SIGINT), 0);
    struct stat st {};
    EXPECT_NE(lstat(link.c_str(), &st), 0) << "link removed on exit";
}

TEST(ZoltsimPty, OptionsSelectEditionAndMisbehaviour) {
    Zoltsim z({"--edition", "gb1", "--short-values", "--no-echo"});
    ASSERT_FALSE(z.ptyPath().empty()) << z.firstLine();
    const int fd = openPort(z.ptyPath());
    ASSERT_GE(fd, 0);
    sendText(fd, "ATI3\rATS17?\rATS218?\r");
    const std::string want =
        "\r\nTRX7_R5.318.GB1-Q57_L64_WNE\r\n\r\nOK\r\n\r\n6\r\n\r\nOK\r\n\r\nERROR\r\n";
    EXPECT_EQ(readFor(fd, want.size(), 3000), want);
    close(fd);
}

TEST(ZoltsimPty, MalformedValuesBreakEveryValue) {
    Zoltsim z({"--malformed-values"});
    ASSERT_FALSE(z.ptyPath().empty()) << z.firstLine();
    const int fd = openPort(z.ptyPath());
    ASSERT_GE(fd, 0);
    sendText(fd, "ATS203?\rATS216?\r");
    const std::string want = "ATS203?\r\r\n#2\r\n\r\nOK\r\nATS216?\r\r\n5\r\n\r\nOK\r\n";
    EXPECT_EQ(readFor(fd, want.size(), 3000), want);
    close(fd);
}

TEST(ZoltsimPty, SilentAnswersNothingButLogs) {
    const std::string logPath = tempPath("silent.log");
    Zoltsim z({"--silent", "--log", logPath});
    ASSERT_FALSE(z.ptyPath().empty()) << z.firstLine();
    const int fd = openPort(z.ptyPath());
    ASSERT_GE(fd, 0);
    sendText(fd, "AT\r");
    EXPECT_EQ(readFor(fd, 1, 400), "");
    close(fd);
    EXPECT_EQ(z.stop(SIGTERM), 0);
    EXPECT_EQ(readLines(logPath).size(), 3u);
    unlink(logPath.c_str());
}

TEST(ZoltsimPty, DelayHoldsRepliesBack) {
    Zoltsim z({"--delay", "300"});
    ASSERT_FALSE(z.ptyPath().empty()) << z.firstLine();
    const int fd = openPort(z.ptyPath());
    ASSERT_GE(fd, 0);
    const auto sent = Clock::now();
    sendText(fd, "AT\r");
    const std::string first = readFor(fd, 1, 3000);
    const auto waited = Clock::now() - sent;
    EXPECT_EQ(first, "A");
    EXPECT_GE(waited, std::chrono::milliseconds(280));
    EXPECT_LT(waited, std::chrono::milliseconds(1500));
    close(fd);
}

TEST(ZoltsimPty, IdleCostsNoCpu) {
    Zoltsim z({});
    ASSERT_FALSE(z.ptyPath().empty()) << z.firstLine();
    const int fd = openPort(z.ptyPath());  // an open but quiet port
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    close(fd);
    rusage ru{};
    ASSERT_EQ(z.stop(SIGTERM, &ru), 0);
    const double cpuMs = (ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) * 1000.0 +
                         (ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1000.0;
    EXPECT_LT(cpuMs, 100.0) << "a busy loop would burn most of the second";
}

// Voluntary context switches of a process so far, or -1 without /proc.
long wakeUps(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("voluntary_ctxt_switches:", 0) == 0)
            return std::stol(line.substr(line.find(':') + 1));
    }
    return -1;
}

TEST(ZoltsimPty, IdleWithPortClosedDoesNotWakeUp) {
    // Nobody has the port open: if zoltsim let its master see the hangup it
    // would have to poll for the next opener; holding the slave itself it
    // can sleep until there is something to do.
    Zoltsim z({});
    ASSERT_FALSE(z.ptyPath().empty()) << z.firstLine();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const long before = wakeUps(z.pid());
    if (before < 0) GTEST_SKIP() << "no /proc to count wake-ups";
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    EXPECT_LE(wakeUps(z.pid()) - before, 2);
}

TEST(ZoltsimPty, RejectsUnknownEditionAndBadOptions) {
    for (std::vector<std::string> args : {std::vector<std::string>{"--edition", "99z"},
                                          {"--delay", "soon"},
                                          {"--frobnicate"},
                                          {"--log"}}) {
        Zoltsim z(args);
        EXPECT_TRUE(z.ptyPath().empty());
        EXPECT_EQ(z.reap(), 2) << args[0];
    }
}

}  // namespace
