// monotime: time stamps on the system's monotonic clock (CLOCK_MONOTONIC), the clock of
// zoltsim's --monotonic-log, in milliseconds with microseconds.
//   monotime          prints the time now
//   monotime --lines  copies stdin to stdout, each line preceded by the time it arrived
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

double nowMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 1) {
        std::printf("%.3f\n", nowMs());
        return 0;
    }
    if (argc != 2 || std::strcmp(argv[1], "--lines") != 0) {
        std::fprintf(stderr, "usage: monotime [--lines]\n");
        return 2;
    }
    // Unbuffered reads: a line is stamped when its last byte arrives, not when a buffer fills.
    std::string line;
    char c;
    while (read(0, &c, 1) == 1) {
        if (c == '\r') continue;  // Windows programs end their lines with CR LF
        if (c != '\n') {
            line += c;
            continue;
        }
        std::printf("%.3f %s\n", nowMs(), line.c_str());
        std::fflush(stdout);
        line.clear();
    }
    return 0;
}
