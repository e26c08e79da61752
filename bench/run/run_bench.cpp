// Runs the whole shipped sequence (the test group of the shipped template:
// SpO2 simulation, LED, photodiode, resistance) against the simulated
// instrument on a fake serial line, on the virtual clock, with the real
// driver library loaded by ProgID. An operator presses Start in each
// test-guide window, types the SpO2 test's readings into the results grid,
// and presses Next. Prints the real time per sequence (what the
// plug-in, the driver and the windows cost) beside the protocol's virtual
// time, and the commands sent.
//
//   build/release/bin/bench_run [rounds]

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "bench/bench_args.h"
#include "host/language_service.h"
#include "host/run_context.h"
#include "host/test_element_base.h"
#include "makes/make_utils.h"
#include "platform/com/com.h"
#include "platform/com/registry.h"
#include "platform/loop/message_loop.h"
#include "platform/loop/virtual_time_scope.h"
#include "plugin/config/spo2_config_part.h"
#include "plugin/results/results_classes.h"
#include "plugin/results/x_result_view.h"
#include "plugin/shell/f_test_guide.h"
#include "plugin/shell/pelmo2_plugin.h"
#include "tests/support/serial/fake_serial_port.h"
#include "tests/support/serial/simulated_instrument.h"

namespace {

using Clock = std::chrono::steady_clock;
using plugin::FTestGuide;

std::string ProgramDir() {
    std::error_code ec;
    auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : self.parent_path().string();
}

// The operator: whenever a test-guide window waits for Start, Start, then
// Next once the run has ended. Posted to the loop, so it acts inside the
// window's modal wait.
void Operate() {
    plat::MessageLoop::Current().PostDelayed(1, [] {
        auto* guide = dynamic_cast<FTestGuide*>(plat::ui::FindForm("FTestGuide"));
        if (!guide || !guide->Visible() || !guide->Toolbar().ButtonEnabled(FTestGuide::kStart)) {
            Operate();
            return;
        }
        guide->Toolbar().ClickButton(FTestGuide::kStart);
        if (auto grid = std::dynamic_pointer_cast<plugin::XResultView>(guide->ResultView());
            grid && grid->EditMode()) {
            guide->ContentPane().PickPane(0);
            grid->Grid().TypeEditText("98\r");
            grid->Grid().TypeEditText("55\r");
        }
        if (guide->Visible()) guide->Toolbar().ClickButton(FTestGuide::kNext);
        Operate();
    });
}

}  // namespace

constexpr const char* kUsage =
    "usage: bench_run [rounds]\n"
    "Runs the shipped sequence against the simulated instrument that many\n"
    "times (default 20).\n";

int main(int argc, char** argv) {
    const int rounds = bench::Count(argc, argv, kUsage, 20);
    std::string dir = (std::filesystem::temp_directory_path() / "orvik-bench-run-XXXXXX").string();
    if (!::mkdtemp(dir.data())) return 1;
    plat::Registry::UseFile(dir + "/registry.reg");
    host::LanguageService().SetLanguagesRoot(dir + "/languages");
    auto& registry = plat::Registry::Instance();
    registry.WriteValue(plat::Hive::LocalMachine, "Software\\Velam\\Orvik\\InstrumentLink\\Pelmo2", "Port", "1");
    registry.WriteValue(plat::Hive::LocalMachine, makes::kRegistryKey, "Path", dir + "/makes/");
    registry.WriteValue(plat::Hive::LocalMachine, makes::kRegistryKey, "Configuration",
                        ProgramDir() + "/orvikPelmo2.mpc");
    try {
        plat::RegisterServer(ProgramDir() + "/liborvikPelmo2VTI.so");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_run: the driver library did not register: %s\n", e.what());
        return 1;
    }
    plugin::RegisterSpO2ConfigurationPart();
    plugin::RegisterResultsParts();
    plugin::RegisterResultsClasses();
    auto plugIn = std::make_shared<plugin::CPelmo2Plugin>();
    plugIn->Initialize(nullptr);
    if (!plugIn->Initialized()) {
        std::fprintf(stderr, "bench_run: the shipped template did not load\n");
        return 1;
    }
    host::RegisterPlugIn(plugIn);

    std::vector<double> times;
    plat::Millis virtualMs = 0;
    std::size_t commands = 0, results = 0;
    for (int round = 0; round < rounds; ++round) {
        plat::VirtualTimeScope time;
        serialtest::FakeSerialScope serial;
        serialtest::SimulatedInstrument sim(serial);
        auto group = std::dynamic_pointer_cast<host::ITestContainer>(plugIn->CreateTest(1));
        auto element = std::dynamic_pointer_cast<host::ITestElement>(group);
        auto setup = std::make_shared<host::CTestSetup>();
        Operate();
        const auto start = Clock::now();
        element->Perform(setup);
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        times.push_back(ms);
        virtualMs = plat::MessageLoop::Current().Now();
        commands = sim.Commands().size();
        results = 0;
        for (int32_t i = 1; i <= group->Count(); ++i)
            if (auto result = group->Item(i)->Result()) results += result->MeasurementCount() > 0 ? 1 : 0;
    }
    std::printf("whole shipped sequence (4 tests), %d rounds\n", rounds);
    const double first = times.front();  // includes the first use of every window and class
    std::sort(times.begin(), times.end());
    double total = 0;
    for (double t : times) total += t;
    std::printf("  real time     %8.2f ms median  %8.2f ms mean  %8.2f ms best  %8.2f ms first round\n",
                times[times.size() / 2], total / rounds, times.front(), first);
    std::printf("  virtual time  %8.1f s of protocol delays and replies\n", virtualMs / 1000.0);
    std::printf("  commands      %8zu on the line per sequence; %zu tests with readings\n", commands, results);

    host::UnregisterPlugIn("Pelmo2");
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    return 0;
}
