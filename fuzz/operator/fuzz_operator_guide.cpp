// A test run in the test-guide window against the simulated instrument on a
// fake serial line, on the virtual clock, with the real driver: a test of the
// shipped template (SpO2 or a probe test) is performed while an improvising
// operator works the window (Start, Stop, Abort, Next, Previous, N/A, Skip,
// the results grid, the pages, the close box) and answers its messages.
// Between actions: every committed reading shows as the grid formats it and a
// commit keeps the typed text or the old one; once the window is gone no
// command but the session's closing "[Q]" reaches the line, and none after
// it; the readings the run records are texts the grid showed.

#include <unistd.h>

#include <climits>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "driver/server.h"
#include "fuzz/operator/action_source.h"
#include "fuzz/operator/grid_commit_check.h"
#include "fuzz/operator/process_sandbox.h"
#include "fuzz/operator/window_gone_watch.h"
#include "fuzz/operator/window_operator.h"
#include "host/run_context.h"
#include "host/test_element_base.h"
#include "makes/make_utils.h"
#include "platform/com/com.h"
#include "platform/com/registry.h"
#include "platform/loop/message_loop.h"
#include "platform/loop/virtual_time_scope.h"
#include "plugin/config/spo2_config_part.h"
#include "plugin/config/spo2_simulation_config.h"
#include "plugin/results/results_classes.h"
#include "plugin/shell/pelmo2_plugin.h"
#include "plugin/shell/test_data.h"
#include "tests/support/serial/fake_serial_port.h"
#include "tests/support/serial/simulated_instrument.h"
#include "tests/support/ui/scripted_operator.h"

namespace {

using fuzz_operator::GridCommitCheck;

constexpr const char* kGuide = "FTestGuide";
constexpr int32_t kReadingCol = 2;

std::string ProgramFolder() {
    char path[PATH_MAX] = {};
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    std::string exe(path, n > 0 ? static_cast<size_t>(n) : 0);
    return exe.substr(0, exe.rfind('/'));
}

// The plug-in of the process on the shipped template, with the driver's
// classes served in-process.
const std::shared_ptr<plugin::CPelmo2Plugin>& PlugIn() {
    static const std::shared_ptr<plugin::CPelmo2Plugin> plugIn = [] {
        const std::string makesFolder = fuzz_operator::ProcessSandbox::Instance().EmptyFolder("makes") + "/";
        auto& registry = plat::Registry::Instance();
        registry.WriteValue(plat::Hive::LocalMachine, makes::kRegistryKey, "Path", makesFolder);
        registry.WriteValue(plat::Hive::LocalMachine, makes::kRegistryKey, "Configuration",
                            ProgramFolder() + "/orvikPelmo2.mpc");
        for (const auto& served : drv::ServedClasses()) plat::RegisterClass(served.progId, served.factory);
        plugin::RegisterResultsClasses();
        plugin::RegisterSpO2ConfigurationPart();
        plugin::RegisterResultsParts();
        auto p = std::make_shared<plugin::CPelmo2Plugin>();
        p->Initialize(nullptr);
        host::RegisterPlugIn(p);
        return p;
    }();
    return plugIn;
}

// A reading: whole numbers; an emptied cell becomes "0"; anything else puts
// the old text back.
std::optional<std::vector<std::string>> ReadingRule(int32_t, int32_t col, const std::string& typed) {
    if (col != kReadingCol) return std::nullopt;
    switch (GridCommitCheck::Classify(typed)) {
    case GridCommitCheck::Number::Blank: return std::vector<std::string>{"0"};
    case GridCommitCheck::Number::No: return std::vector<std::string>{};
    default: return std::nullopt;
    }
}

std::string TextOf(const plat::Variant& value) {
    if (value.IsEmpty()) return "";
    return value.AsString();
}

class GuideSession {
public:
    explicit GuideSession(fuzz_operator::ActionSource& input)
        : op_(input),
          grid_("xrvResult.tlstGrid", ReadingRule, [](int32_t, int32_t, const std::string&) { return true; }),
          watch_(kGuide, [this] {
              if (!goneAt_) goneAt_ = sim_.CommandTexts().size();
          }) {
        op_.SetCheck([this] { Check(); });
    }

    void Run(fuzz_operator::ActionSource& input) {
        const int32_t tests[] = {100, 100, 100, 200, 300, 400};
        const int32_t testId = tests[input.Pick(6)];
        test_ = std::dynamic_pointer_cast<plugin::CTestData>(PlugIn()->CreateTest(testId));
        if (!test_) op_.Finding("the plug-in made no test " + std::to_string(testId));
        if (auto config = std::dynamic_pointer_cast<plugin::CSpO2SimulationConfig>(test_->Configuration())) {
            config->SetOximeterMake(input.Pick(10));
            config->SetSimulationID(input.Pick(25));
        }
        op_.Drive([this] { test_->Perform(setup_); });
        Check();
        // Whatever the run left armed runs out; the line stays quiet.
        bool later = false;
        plat::MessageLoop::Current().PostDelayed(120000, [&later] { later = true; });
        op_.Drive([&later] { plat::MessageLoop::Current().RunUntil([&later] { return later; }); });
        Check();
        if (!goneAt_) op_.Finding("the run ended with the test-guide window still shown");
        RecordedReadings();
        test_->Terminate();
        for (plat::ui::Form* form : plat::ui::LoadedForms())
            if (form->Visible()) op_.Finding("the window \"" + form->Name() + "\" is left open after the run");
    }

private:
    plat::ui::Grid* ResultGrid() const {
        plat::ui::Form* guide = plat::ui::FindForm(kGuide);
        if (!guide || !guide->Loaded() || !guide->Visible()) return nullptr;
        return dynamic_cast<plat::ui::Grid*>(plat::ui::test::ScriptedOperator::FindControl(*guide, "xrvResult.tlstGrid"));
    }

    void Check() {
        plat::ui::Grid* grid = ResultGrid();
        const std::string finding = grid_.Check(grid, op_.Last());
        if (!finding.empty()) op_.Finding(finding);
        if (grid)
            for (int32_t row = 1; row < grid->Rows(); ++row)
                if (!(grid->Editing() && grid->EditRow() == row) && kReadingCol < grid->Cols())
                    shown_[row].insert(grid->CellText(row, kReadingCol));
        if (goneAt_) {
            const auto wire = sim_.CommandTexts();
            for (size_t i = *goneAt_; i < wire.size(); ++i)
                if (wire[i] != "[Q]" || i + 1 < wire.size())
                    op_.Finding("\"" + wire[i] + "\" reached the line after the test-guide window was gone (" +
                                std::to_string(i - *goneAt_ + 1) + " of " + std::to_string(wire.size() - *goneAt_) +
                                " commands since)");
        }
    }

    // The run's readings are texts that the grid showed as committed.
    void RecordedReadings() {
        if (test_->TestID() != 100) return;
        auto result = test_->Result();
        if (!result) return;
        for (int32_t i = 1; i <= result->MeasurementCount(); ++i) {
            auto measurement = result->Measurement(plat::Variant(i));
            if (!measurement) continue;
            const std::string value = TextOf(measurement->Value());
            if (!value.empty() && !shown_[i].count(value))
                op_.Finding("reading " + std::to_string(i) + " \"" + value + "\" was recorded, a text the grid never showed");
        }
    }

    fuzz_operator::WindowOperator op_;
    GridCommitCheck grid_;
    serialtest::FakeSerialScope serial_;
    serialtest::SimulatedInstrument sim_{serial_};
    fuzz_operator::WindowGoneWatch watch_;
    std::optional<size_t> goneAt_;
    std::shared_ptr<host::CTestSetup> setup_ = std::make_shared<host::CTestSetup>();
    std::shared_ptr<plugin::CTestData> test_;
    std::map<int32_t, std::set<std::string>> shown_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    plat::VirtualTimeScope time;
    fuzz_operator::ActionSource input(data, size);
    GuideSession session(input);
    session.Run(input);
    return 0;
}
