// Times one full R-curve upload (LoadMakeParameters) against a pseudo-terminal
// on the real clock: wall time of each step against the protocol's fixed
// delays, and the CPU time the waits cost. A responder on the master side,
// run from the same message loop, answers "[VER]".

#include <fcntl.h>
#include <pty.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_args.h"
#include "driver/x_vti_control.h"
#include "platform/com/registry.h"
#include "platform/loop/message_loop.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double CpuMs() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(u.ru_utime) + ms(u.ru_stime);
}

struct Received {
    Clock::time_point time;
    std::string command;
};

}  // namespace

constexpr const char* kUsage =
    "usage: bench_driver_upload\n"
    "Times one full R-curve upload against a pseudo-terminal.\n";

int main(int argc, char** argv) {
    (void)bench::Counts(argc, argv, kUsage, 0);
    int master = -1, slave = -1;
    char slaveName[256] = {0};
    if (openpty(&master, &slave, slaveName, nullptr, nullptr) != 0) {
        std::perror("openpty");
        return 1;
    }
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);

    // A registry of its own: port 1 is the pseudo-terminal, configured for "Pelmo2".
    const std::string dir = std::filesystem::temp_directory_path() / ("orvik-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    plat::Registry::UseFile(dir + "/registry.reg");
    auto& reg = plat::Registry::Instance();
    reg.WriteValue(plat::Hive::LocalMachine, "Software\\Velam\\Orvik\\SerialPorts", "COM1", slaveName);
    reg.WriteValue(plat::Hive::LocalMachine, "Software\\Velam\\Orvik\\InstrumentLink\\Pelmo2", "Port", "1");

    std::vector<Received> received;
    std::string pending;
    plat::MessageLoop& loop = plat::MessageLoop::Current();
    uint64_t watch = loop.WatchFd(master, [&] {
        char buf[4096];
        ssize_t n;
        while ((n = read(master, buf, sizeof buf)) > 0) pending.append(buf, static_cast<size_t>(n));
        for (size_t close; (close = pending.find(']')) != std::string::npos;) {
            size_t open = pending.rfind('[', close);
            if (open != std::string::npos) {
                std::string cmd = pending.substr(open, close - open + 1);
                received.push_back({Clock::now(), cmd});
                if (cmd == "[VER]") {
                    const char reply[] = "Pelmo Q5 Version 2.10\r\n";
                    if (write(master, reply, sizeof reply - 1) < 0) std::perror("write");
                }
            }
            pending.erase(0, close + 1);
        }
    });

    int errors = 0;
    auto control = std::make_shared<drv::XVTIControl>();
    drv::ConnectControlEvents(control, [&](const std::string& name, std::vector<plat::Variant>& params) {
        auto e = drv::EventError(params);
        std::printf("event %s: %d\n", name.c_str(), e ? static_cast<int>(e->ErrorNumber()) : -1);
        ++errors;
    });
    control->InitVTI();
    control->SetUploadCancel(false);
    control->EndRemote();
    control->StartRemote();

    drv::KeyedCollection curve;
    for (int i = 0; i <= 50; ++i) (void)curve.Add(plat::Variant(0.5 + i * 0.01));

    const double cpu0 = CpuMs();
    const Clock::time_point t0 = Clock::now();
    control->LoadMakeParameters(1, "BENCH", 3000, 3500, 1000, &curve);
    const Clock::time_point t1 = Clock::now();
    const double cpu = CpuMs() - cpu0;

    control->ResetInstrument();
    control->EndRemote();
    loop.Unwatch(watch);
    close(master);
    close(slave);
    std::filesystem::remove_all(dir);

    const double wall = Ms(t1 - t0);
    std::printf("commands received:");
    for (const auto& r : received) std::printf(" %s", r.command.substr(0, 12).c_str());
    std::printf("\n");
    if (errors || received.size() < 4) {
        std::printf("upload failed (%d events, %zu commands)\n", errors, received.size());
        return 1;
    }
    // Steps between the writes seen by the responder, against their fixed delays.
    struct Step {
        const char* what;
        double measured, expected;
    };
    const Step steps[] = {
        {"start -> [VER]          (3000 before)", Ms(received[0].time - t0), 3000},
        {"[VER] -> RCURVE         (3000 after + 3000 before)", Ms(received[1].time - received[0].time), 6000},
        {"RCURVE -> [VER]         (10000 after + 3000 before)", Ms(received[2].time - received[1].time), 13000},
        {"[VER] -> [IRAC]         (3000 after + 3000 before)", Ms(received[3].time - received[2].time), 6000},
        {"[IRAC] -> end           (3000 after)", Ms(t1 - received[3].time), 3000},
    };
    for (const Step& s : steps)
        std::printf("%-52s %9.1f ms  expected %7.0f  (%+.2f %%)\n", s.what, s.measured, s.expected,
                    100.0 * (s.measured - s.expected) / s.expected);
    const double delays = 31000;
    std::printf("whole upload                                       %9.1f ms  delays     %5.0f  (%+.2f %%)\n", wall,
                delays, 100.0 * (wall - delays) / delays);
    std::printf("CPU time                                           %9.1f ms  = %.3f %% of one core\n", cpu,
                100.0 * cpu / wall);
    return 0;
}
