// A 3-second driver-style wait (a timer and DoEvents until it fires) with a
// window shown that holds a 52 x 6 grid and a running progress bar, while a
// second thread injects clicks on a button at random moments as posted press
// and release events stamped on the steady clock. Prints the CPU share of the
// wait and the worst time from injection to the core's Click handler.
//
//   QT_QPA_PLATFORM=offscreen build/release/bin/bench_render_wait [waitMs] [clicks]
#include <sys/resource.h>

#include <QtCore/QCoreApplication>
#include <QtCore/QPointer>
#include <QtGui/QMouseEvent>
#include <QtWidgets/QWidget>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "bench/bench_args.h"
#include "platform/loop/message_loop.h"
#include "platform/qt/qt_renderer.h"
#include "platform/ui/ui.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace ui = plat::ui;

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& tv) { return static_cast<double>(tv.tv_sec) + tv.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

class FResults : public ui::Form {
public:
    FResults() : Form("frmResults") {
        SetCaption("Results");
        SetInnerSize(9000, 7200);
        grdResults.Move(120, 120, 8760, 5600);
        grdResults.SetRows(52);
        grdResults.SetCols(6);
        for (int32_t r = 0; r < 52; ++r)
            for (int32_t c = 0; c < 6; ++c)
                grdResults.SetCellText(r, c, r == 0 ? "Column " + std::to_string(c) : std::to_string(r * 10 + c));
        prgBusy.Move(120, 5900, 4000, 300);
        prgBusy.SetRunning(true);
        cmdStop.SetCaption("Stop");
        cmdStop.Move(7680, 6600, 1200, 400);
    }
    ui::Grid& grdResults = Add<ui::Grid>("grdResults");
    ui::ProgressBar& prgBusy = Add<ui::ProgressBar>("prgBusy");
    ui::CommandButton& cmdStop = Add<ui::CommandButton>("cmdStop");
};

}  // namespace

int main(int argc, char** argv) {
    const std::vector<int> counts = bench::Counts(argc, argv,
        "usage: bench_render_wait [waitMs] [clicks]\n"
        "  a driver-style wait of waitMs (3000) with a window shown, while clicks (24) are injected\n", 2);
    const int waitMs = counts.size() > 0 ? counts[0] : 3000;
    const int clicks = counts.size() > 1 ? counts[1] : 24;

    plat::MessageLoop::Reset();
    plat::qt::QtRenderer renderer;
    renderer.Install();
    plat::MessageLoop& loop = plat::MessageLoop::Current();

    FResults form;
    form.Show();
    // Let the window appear before the measured wait.
    bool shown = false;
    loop.PostDelayed(200, [&shown] { shown = true; });
    loop.RunUntil([&shown] { return shown; });
    QPointer<QWidget> button = renderer.WidgetOf(form.cmdStop);
    if (!button) {
        std::fprintf(stderr, "the button has no widget\n");
        return 2;
    }

    // Stamps of the injected clicks, in order; the handler takes them in the same order.
    std::mutex mutex;
    std::vector<Clock::time_point> stamps;
    std::vector<double> latencies;
    int handled = 0;
    form.cmdStop.OnClick = [&] {
        const auto now = Clock::now();
        std::lock_guard lock(mutex);
        if (handled < static_cast<int>(stamps.size()))
            latencies.push_back(std::chrono::duration<double, std::milli>(now - stamps[handled]).count());
        ++handled;
        // A handler's work: one row of the grid rewritten.
        const int32_t row = 1 + handled % 51;
        for (int32_t c = 0; c < 6; ++c) form.grdResults.SetCellText(row, c, "clicked " + std::to_string(handled));
    };

    plat::Timer wait;
    wait.OnTick = [&wait] { wait.SetInterval(0); };
    long pumps = 0;
    std::atomic<bool> stop{false};

    const double cpu0 = CpuSeconds();
    const Clock::time_point wall0 = Clock::now();
    wait.SetInterval(waitMs);
    wait.SetEnabled(true);

    std::thread injector([&, wall0] {
        // Random moments within the wait, all before its last tenth.
        std::mt19937 random(12345);
        std::uniform_int_distribution<int> moment(waitMs / 20, waitMs * 9 / 10);
        std::vector<int> moments(static_cast<size_t>(clicks));
        for (int& m : moments) m = moment(random);
        std::sort(moments.begin(), moments.end());
        const QPointF at(10, 10);
        for (int m : moments) {
            std::this_thread::sleep_until(wall0 + std::chrono::milliseconds(m));
            if (stop) break;
            {
                std::lock_guard lock(mutex);
                stamps.push_back(Clock::now());
            }
            QCoreApplication::postEvent(button.data(), new QMouseEvent(QEvent::MouseButtonPress, at, at, at,
                                                                       Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
            QCoreApplication::postEvent(button.data(), new QMouseEvent(QEvent::MouseButtonRelease, at, at, at,
                                                                       Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
        }
    });

    do {
        loop.DoEvents();
        ++pumps;
    } while (wait.Interval() != 0);
    const double wall = std::chrono::duration<double>(Clock::now() - wall0).count();
    const double cpu = CpuSeconds() - cpu0;
    stop = true;
    injector.join();
    wait.SetEnabled(false);

    const double worst = latencies.empty() ? 0.0 : *std::max_element(latencies.begin(), latencies.end());
    const double share = wall > 0 ? 100.0 * cpu / wall : 0.0;
    std::printf("wait %d ms with a 52 x 6 grid and a running progress bar: wall %.3f s, cpu %.4f s, "
                "%.2f %% of a core, %ld pumps, progress frames %lld\n",
                waitMs, wall, cpu, share, pumps, static_cast<long long>(form.prgBusy.Frame()));
    std::printf("clicks: %zu injected, %d handled, worst injection to handler %.2f ms (goal < 20 ms), "
                "cpu goal < 2 %%\n",
                stamps.size(), handled, worst);
    return (share < 2.0 && worst < 20.0 && handled == static_cast<int>(stamps.size())) ? 0 : 1;
}
