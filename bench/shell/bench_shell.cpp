// Times CPelmo2Plugin::Initialize with the shipped template (beside the
// program in the build's bin folder) and CreateTest of the test group, and
// prints the mean and best time per call. Build it in Release for figures
// worth comparing.
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "bench/bench_args.h"
#include "host/error_service.h"
#include "host/language_service.h"
#include "platform/com/registry.h"
#include "plugin/shell/pelmo2_plugin.h"

namespace {

using Clock = std::chrono::steady_clock;

template <class F>
void Time(const char* what, int rounds, F call) {
    double total = 0, best = 1e300;
    for (int i = 0; i < rounds; ++i) {
        const auto start = Clock::now();
        call();
        const double micros = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
        total += micros;
        best = std::min(best, micros);
    }
    std::printf("%-40s %8.1f us mean  %8.1f us best  (%d rounds)\n", what, total / rounds, best, rounds);
}

}  // namespace

constexpr const char* kUsage =
    "usage: bench_shell [rounds]\n"
    "Times the plug-in's Initialize and CreateTest over that many rounds\n"
    "(default 200).\n";

int main(int argc, char** argv) {
    const int rounds = bench::Count(argc, argv, kUsage, 200);
    std::string pattern = (std::filesystem::temp_directory_path() / "orvik-bench-shell-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) return 1;
    plat::Registry::UseFile(pattern + "/registry.reg");  // no "Configuration": the shipped template
    host::LanguageService().SetLanguagesRoot(pattern + "/languages");

    plugin::CPelmo2Plugin plugIn;
    Time("Initialize (shipped template)", rounds, [&] { plugIn.Initialize(nullptr); });
    if (!plugIn.Initialized()) {
        std::fprintf(stderr, "bench_shell: the shipped template did not load\n");
        return 1;
    }
    Time("CreateTest(1) (group of four tests)", rounds, [&] { plugIn.CreateTest(1); });
    std::error_code ec;
    std::filesystem::remove_all(pattern, ec);
    return 0;
}
