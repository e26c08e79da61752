// Times the start of the editor's main window, from making the window to the
// window shown with its first make, over a make folder of 1,000 make files (or
// the count given as the first argument): headless, and under the Qt renderer
// offscreen (until its widgets are written). Prints the median of the runs.
// Build in Release for figures worth comparing:
//
//   QT_QPA_PLATFORM=offscreen build/release/bin/bench_editor_start [files]
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_args.h"
#include "editor/frm_custom_rcurve.h"
#include "host/language_service.h"
#include "makes/make_utils.h"
#include "platform/com/fs.h"
#include "platform/com/registry.h"
#include "platform/loop/message_loop.h"
#include "platform/qt/qt_renderer.h"
#include "platform/values/numfmt.h"

namespace {

using Clock = std::chrono::steady_clock;

double Millis(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

void FillFolder(const std::string& folder, int files) {
    for (int i = 0; i < files; ++i) {
        makes::COximeterMake make;
        make.SetName("Make " + std::to_string(i));
        make.SetRCurve(std::make_shared<makes::RCurveCollection>());
        for (int spo2 = 50; spo2 <= 100; ++spo2)
            make.AddRValue(spo2, plat::NumberToText((100 - spo2) / 25.0 + 0.4 + (i % 7) * 0.01));
        char name[32];
        std::snprintf(name, sizeof name, "make%05d.txt", i);
        plat::fs::ReplaceFile(folder + name, makes::MakesFileText(make), 0644);
    }
}

// One start: the window made, loaded and shown, then unloaded again.
double StartOnce(plat::qt::QtRenderer* renderer, int expectedMakes) {
    const auto begin = Clock::now();
    auto window = std::make_shared<editor::frmCustomRcurve>();
    window->Show();
    if (renderer) renderer->Flush();
    const double ms = Millis(Clock::now() - begin);
    if (window->Makes()->Count() != expectedMakes || !window->CurrentMake())
        std::fprintf(stderr, "the window shows %d makes, not %d\n", window->Makes()->Count(), expectedMakes);
    window->OnQueryUnload = nullptr;
    window->Unload();
    if (renderer) renderer->Flush();
    return ms;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

constexpr const char* kUsage =
    "usage: bench_editor_start [files]\n"
    "Times the start of the editor's main window over a make folder of that\n"
    "many files (default 1000).\n";

int main(int argc, char** argv) {
    const int files = bench::Count(argc, argv, kUsage, 1000);
    std::string pattern = (std::filesystem::temp_directory_path() / "orvik-bench-editor-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) return 1;
    const std::string root = pattern;
    const std::string folder = root + "/makes/";
    plat::fs::CreateFolder(folder);
    plat::Registry::UseFile(root + "/registry.reg");
    plat::Registry::Instance().WriteValue(plat::Hive::LocalMachine, makes::kRegistryKey, "Path", folder);
    host::LanguageService().SetLanguagesRoot(root + "/languages");
    FillFolder(folder, files);

    constexpr int kRuns = 7;
    std::vector<double> headless, rendered;
    StartOnce(nullptr, files);  // warm the file cache
    for (int i = 0; i < kRuns; ++i) headless.push_back(StartOnce(nullptr, files));
    {
        plat::MessageLoop::Reset();
        plat::qt::QtRenderer renderer;
        renderer.Install();
        StartOnce(&renderer, files);  // the first window also starts Qt
        for (int i = 0; i < kRuns; ++i) rendered.push_back(StartOnce(&renderer, files));
    }
    std::printf("main window start with %d make files (median of %d)\n", files, kRuns);
    std::printf("  headless:             %8.2f ms\n", Median(headless));
    std::printf("  Qt renderer, drawn:   %8.2f ms\n", Median(rendered));
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
    return 0;
}
