#pragma once
// A whole test run in-process: the plug-in's elements from its shipped
// template, the real driver library loaded by ProgID, the simulated
// instrument on a fake serial line, the virtual clock and a scripted
// operator at the test-guide window, who types the readings into its
// results grid.

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "driver/vti_interface.h"
#include "host/run_context.h"
#include "platform/com/com.h"
#include "platform/loop/message_loop.h"
#include "platform/loop/virtual_time_scope.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/form.h"
#include "plugin/config/spo2_config_part.h"
#include "plugin/config/spo2_simulation_config.h"
#include "plugin/results/results_classes.h"
#include "plugin/shell/f_test_guide.h"
#include "plugin/shell/identity_pane_flag.h"
#include "plugin/shell/pelmo2_plugin.h"
#include "plugin/results/x_result_view.h"
#include "plugin/shell/test_data.h"
#include "plugin/shell/test_group.h"
#include "tests/plugin/config/spo2_config_fixture.h"
#include "tests/support/serial/fake_serial_port.h"
#include "tests/support/serial/simulated_instrument.h"
#include "tests/support/ui/scripted_operator.h"

namespace run_test {

using plugin::FTestGuide;

inline std::string BinDir() {
    const char* bin = std::getenv("ORVIK_BIN_DIR");
    return bin ? bin : ".";
}

class RunTest : public plugin_test::Spo2ConfigTest {
protected:
    void SetUp() override {
        Spo2ConfigTest::SetUp();
        plat::Registry::Instance().WriteValue(plat::Hive::LocalMachine,
                                              "Software\\Velam\\Orvik\\InstrumentLink\\Pelmo2", "Port", "1");
        plat::Registry::Instance().WriteValue(plat::Hive::LocalMachine, makes::kRegistryKey, "Configuration",
                                              BinDir() + "/orvikPelmo2.mpc");
        ASSERT_NO_THROW(plat::RegisterServer(BinDir() + "/liborvikPelmo2VTI.so"));
        plugin::RegisterResultsClasses();
        plugin::RegisterSpO2ConfigurationPart();
        plugin::RegisterResultsParts();
        plugIn_->Initialize(nullptr);
        ASSERT_TRUE(plugIn_->Initialized());
        host::RegisterPlugIn(plugIn_);
    }
    void TearDown() override {
        host::UnregisterPlugIn("Pelmo2");
        plugin::ResetIdentityPaneFlagForTests();
        Spo2ConfigTest::TearDown();
    }

    plat::Millis Now() const { return plat::MessageLoop::Current().Now(); }

    // A test of the shipped template, as the host creates it.
    std::shared_ptr<plugin::CTestData> NewTest(int32_t testId) {
        return std::dynamic_pointer_cast<plugin::CTestData>(plugIn_->CreateTest(testId));
    }
    static std::shared_ptr<plugin::CSpO2SimulationConfig> Config(const std::shared_ptr<host::ITestElement>& test) {
        return std::dynamic_pointer_cast<plugin::CSpO2SimulationConfig>(test->Configuration());
    }

public:
    // ---- the operator at the test-guide window (steps chain) ----
    static FTestGuide* Guide() { return dynamic_cast<FTestGuide*>(plat::ui::FindForm("FTestGuide")); }
    // Clicks a toolbar button of the shown test-guide window (a refused click fails the test).
    RunTest& Click(int32_t id) {
        op.Do("FTestGuide", "toolbar " + std::to_string(id), [id](plat::ui::Form& form) {
            EXPECT_TRUE(static_cast<FTestGuide&>(form).Toolbar().ClickButton(id)) << "button " << id << " refused";
        });
        return *this;
    }
    // Clicks Start. The driver's waits pump the loop, so steps queued after
    // this one are carried out during the run; the steps that `then` queues
    // come once the Start handler has returned.
    RunTest& Start(std::function<void()> then = {}) {
        op.Do("FTestGuide", "Start", [then](plat::ui::Form& form) {
            EXPECT_TRUE(static_cast<FTestGuide&>(form).Toolbar().ClickButton(FTestGuide::kStart)) << "Start refused";
            if (then) then();
        });
        return *this;
    }
    // Types the readings into the grid's open cell, each ended with Enter,
    // after bringing the results page forward (the first window after a test
    // was made shows the instrument page).
    RunTest& Type(const std::string& spo2, const std::string& bpm) {
        op.Do("FTestGuide", "show the results page", [](plat::ui::Form& form) {
            auto& pane = static_cast<FTestGuide&>(form).ContentPane();
            if (pane.SelectedPane() != 0) {
                EXPECT_TRUE(pane.PickPane(0)) << "results page refused";
            }
        });
        op.TypeInCell("FTestGuide", "xrvResult.tlstGrid", spo2 + "\r")
            .TypeInCell("FTestGuide", "xrvResult.tlstGrid", bpm + "\r");
        return *this;
    }
    // Picks the entry (from 0) in the upload-slot dialog, with OK; nullopt: Cancel.
    RunTest& ChooseSlot(std::optional<int32_t> entry, std::vector<std::string>* offered = nullptr) {
        if (offered)
            op.Do("frmUploadLocation", "read the offered slots", [offered](plat::ui::Form& form) {
                auto* list = dynamic_cast<plat::ui::ComboBox*>(plat::ui::test::ScriptedOperator::FindControl(form, "ComUploadLocation"));
                ASSERT_NE(list, nullptr);
                for (int32_t i = 0; i < list->ListCount(); ++i) offered->push_back(list->List(i));
            });
        if (!entry) {
            op.Click("frmUploadLocation", "cmdCancel");
            return *this;
        }
        op.Pick("frmUploadLocation", "ComUploadLocation", *entry).Click("frmUploadLocation", "cmdOK");
        return *this;
    }
    RunTest& Answer(int32_t answer, std::string expectText = {}) {
        op.Answer(answer, std::move(expectText));
        return *this;
    }
    // Clicks a button at a loop time, whatever the operator is doing then.
    void ClickAt(plat::Millis time, int32_t id) {
        plat::MessageLoop::Current().PostDelayed(time - Now(), [id] {
            FTestGuide* guide = Guide();
            ASSERT_NE(guide, nullptr);
            EXPECT_TRUE(guide->Toolbar().ClickButton(id)) << "button " << id << " refused";
        });
    }

    // The operator closes the test-guide window by its close box at a loop time.
    void CloseAt(plat::Millis time) {
        plat::MessageLoop::Current().PostDelayed(time - Now(), [] {
            FTestGuide* guide = Guide();
            ASSERT_NE(guide, nullptr);
            guide->UserClose();
        });
    }

protected:
    // What went over the line, commands only.
    std::vector<std::string> Wire() const { return sim.CommandTexts(); }
    // Commands from the session's opening on, without the opening "[SCRF]"/"[SCRU]" and closing "[Q]".
    std::vector<std::string> Commands() const {
        std::vector<std::string> out;
        for (const auto& c : sim.CommandTexts())
            if (c != "[SCRF]" && c != "[SCRU]" && c != "[Q]") out.push_back(c);
        return out;
    }
    std::vector<std::string> MessageTexts() const {
        std::vector<std::string> texts;
        for (const auto& m : op.Messages()) texts.push_back(m.prompt);
        return texts;
    }

    plat::VirtualTimeScope time;
    serialtest::FakeSerialScope serial;
    serialtest::SimulatedInstrument sim{serial};
    plat::ui::test::ScriptedOperator op;
    std::shared_ptr<host::CTestSetup> setup = std::make_shared<host::CTestSetup>();
    std::shared_ptr<plugin::CPelmo2Plugin> plugIn_ = std::make_shared<plugin::CPelmo2Plugin>();
};

}  // namespace run_test
