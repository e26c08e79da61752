// How much of a core a driver-style wait costs under the real clock: a timer
// of 2000 ms and a loop that pumps until its tick sets the interval to 0.
#include "platform/loop/message_loop.h"

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "bench/bench_args.h"

namespace {

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& tv) { return static_cast<double>(tv.tv_sec) + tv.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

}  // namespace

constexpr const char* kUsage =
    "usage: bench_loop_idle [milliseconds]\n"
    "Times how much of a core a wait of that length costs (default 2000).\n";

int main(int argc, char** argv) {
    const int waitMs = bench::Count(argc, argv, kUsage, 2000);
    plat::MessageLoop::Reset();
    plat::MessageLoop& loop = plat::MessageLoop::Current();

    plat::Timer wait;
    wait.OnTick = [&wait] { wait.SetInterval(0); };
    long pumps = 0;

    const double cpu0 = CpuSeconds();
    const auto wall0 = std::chrono::steady_clock::now();
    wait.SetInterval(waitMs);
    wait.SetEnabled(true);
    do {
        loop.DoEvents();
        ++pumps;
    } while (wait.Interval() != 0);
    wait.SetEnabled(false);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();
    const double cpu = CpuSeconds() - cpu0;

    std::printf("wait %d ms: wall %.3f s, cpu %.4f s, %.3f %% of a core, %ld pumps\n", waitMs, wall, cpu,
                wall > 0 ? 100.0 * cpu / wall : 0.0, pumps);
    return cpu / wall < 0.02 ? 0 : 1;
}
