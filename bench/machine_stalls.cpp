// How often, and for how long, this machine stops a program that only
// computes. A steady loop is timed in slices of about 4 ms of work, each on
// the wall clock and on the thread's own CPU clock. A slice far slower than
// the median whose time the system still counts as the thread's CPU time
// was not kept waiting for another program (waiting is not CPU time): the
// whole machine was stopped beneath its operating system, by its host. A
// game frame caught in such a stall is as slow whatever the game does;
// these figures tell those frames from the game's own slow ones.
//   machine_stalls [SECONDS]     (default 20)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

double WallMs() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double ThreadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// A slice of arithmetic that the compiler cannot drop.
volatile double g_sink = 0;
void Work(long steps) {
    double x = g_sink;
    for (long i = 0; i < steps; ++i) x = x * 0.999999 + 1.0;
    g_sink = x;
}

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 20.0;
    // Steps for about 4 ms, from a first measure.
    long steps = 1000000;
    const double t0 = WallMs();
    Work(steps);
    steps = std::max(1000L, long(double(steps) * 4.0 / std::max(0.01, WallMs() - t0)));

    struct Slice {
        double wall, cpu;
    };
    std::vector<Slice> slices;
    const double end = WallMs() + seconds * 1000.0;
    while (WallMs() < end) {
        const double w = WallMs(), c = ThreadCpuMs();
        Work(steps);
        slices.push_back({WallMs() - w, ThreadCpuMs() - c});
    }
    std::vector<double> walls;
    for (const Slice& s : slices) walls.push_back(s.wall);
    std::sort(walls.begin(), walls.end());
    const double median = walls[walls.size() / 2];
    // A stall: a slice of more than twice the median and more than 8 ms
    // longer than it; counted apart, those whose time was CPU time (the
    // thread was running, as far as this system can tell).
    int stalls = 0, running = 0;
    double worst = 0, worstCpu = 0, stalled = 0;
    for (const Slice& s : slices) {
        if (s.wall < 2 * median || s.wall < median + 8) continue;
        ++stalls;
        stalled += s.wall - median;
        if (s.cpu > 0.9 * s.wall) ++running;
        if (s.wall > worst) {
            worst = s.wall;
            worstCpu = s.cpu;
        }
    }
    std::printf("%zu slices of %.2f ms (median) in %.0f s: p99 %.2f ms, greatest %.2f ms (%.2f ms of it CPU time)\n",
                slices.size(), median, seconds, walls[walls.size() * 99 / 100], walls.back(), worstCpu);
    std::printf("%d stalls (more than twice the median and 8 ms over it), %d of them counted as CPU time; "
                "%.1f stalls a minute, %.0f ms lost in all\n",
                stalls, running, stalls * 60.0 / seconds, stalled);
    std::printf("figure machine_slice_ms_median %.2f\n", median);
    std::printf("figure machine_slice_ms_max %.2f\n", walls.back());
    std::printf("figure machine_stalls_per_minute %.2f\n", stalls * 60.0 / seconds);
    std::printf("figure machine_stall_ms_max %.2f\n", stalls ? worst : 0.0);
    return 0;
}
