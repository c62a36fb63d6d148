// Tracks the slowest single input of a fuzz run (in CPU time) and prints it at exit, so the run
// shows whether any input came near the time a parse may take.
#pragma once
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace lt::fuzz {

class Slowest {
public:
    Slowest() {
        std::atexit([] { std::fprintf(stderr, "slowest input: %.3f ms (after the first %ld)\n", instance().maxMs_, kWarmUp); });
    }
    static Slowest& instance() {
        static Slowest slowest;
        return slowest;
    }
    template <typename F>
    void time(F&& f) {
        // Thread CPU time: the figure must not depend on what else the machine runs.
        const double start = cpuMs();
        f();
        const double ms = cpuMs() - start;
        // The first inputs pay one-time costs (the first exception thrown loads the
        // unwinder's tables, the first allocations map memory): not the parse's cost.
        if (++count_ > kWarmUp && ms > maxMs_) maxMs_ = ms;
    }

private:
    static double cpuMs() {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
    }
    static constexpr long kWarmUp = 10;
    long count_ = 0;
    double maxMs_ = 0;
};

// Runs one input under the timer.
template <typename F>
void timed(F&& f) {
    Slowest::instance().time(f);
}

}  // namespace lt::fuzz
