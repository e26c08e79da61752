// The host program driven as a technician would, headless on the virtual
// clock: the real plug-in and driver libraries loaded by ProgID from the bin
// folder, the simulated instrument on a fake serial line, the scripted
// operator at the host's window, its frames and the plug-in's guide window.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "driver/vti_interface.h"
#include "host/error_service.h"
#include "host/host_application.h"
#include "host/test_element_base.h"
#include "host/tg/x_tg_content_pane.h"
#include "host/tg/x_tg_toolbar.h"
#include "hostprog/f_host_main.h"
#include "hostprog/host_main.h"
#include "platform/com/fs.h"
#include "platform/com/registry.h"
#include "platform/loop/message_loop.h"
#include "platform/loop/virtual_time_scope.h"
#include "platform/ui/check_box.h"
#include "platform/ui/control_host.h"
#include "platform/ui/label.h"
#include "platform/ui/object_control.h"
#include "platform/ui/window_identity.h"
#include "tests/support/sandbox.h"
#include "tests/support/serial/fake_serial_port.h"
#include "tests/support/serial/simulated_instrument.h"
#include "tests/support/ui/scripted_operator.h"

namespace {

using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;
using plat::ui::test::ScriptedOperator;

// The guide window's toolbar buttons.
constexpr int32_t kStop = 101, kAbort = 201, kStart = 202, kNext = 301;
constexpr const char* kSettingsKey = "Software\\Velam\\Orvik\\Pelmo2";

std::string BinDir() {
    const char* bin = std::getenv("ORVIK_BIN_DIR");
    return bin ? bin : ".";
}

template <class T>
std::shared_ptr<T> ControlObject(plat::ui::Form& form, const std::string& name) {
    auto* control = dynamic_cast<plat::ui::ObjectControl*>(ScriptedOperator::FindControl(form, name));
    return control ? control->ObjectAs<T>() : nullptr;
}

// The frame is as large as the page docked into it: every control of the
// page lies within it, with no band wider than two gaps beside or below
// them, and Close sits below the page.
void ExpectTheFrameFitsItsPage(plat::ui::Form& frame) {
    const plat::ui::ControlHost* page = nullptr;
    for (const plat::ui::ControlHost* host : plat::ui::AllHosts())
        if (host->DockParent() == &frame) page = host;
    ASSERT_NE(page, nullptr) << frame.Name();
    int32_t right = 0, bottom = 0;
    for (const auto& control : page->Controls()) {
        if (control->Container()) continue;
        right = std::max(right, control->Left() + control->Width());
        bottom = std::max(bottom, control->Top() + control->Height());
    }
    const int32_t gap = 120;
    const plat::ui::Control* close = ScriptedOperator::FindControl(frame, "cmdClose");
    ASSERT_NE(close, nullptr);
    EXPECT_GE(frame.ScaleWidth(), right) << frame.Name();
    EXPECT_LE(frame.ScaleWidth(), right + 2 * gap) << frame.Name();
    EXPECT_GE(close->Top(), bottom) << frame.Name();
    EXPECT_LE(close->Top(), bottom + 3 * gap) << frame.Name();
    EXPECT_LE(close->Left() + close->Width(), frame.ScaleWidth()) << frame.Name();
}

class HostProgramTest : public test_support::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        auto& registry = plat::Registry::Instance();
        registry.WriteValue(plat::Hive::LocalMachine, "Software\\Velam\\Orvik\\InstrumentLink\\Pelmo2", "Port", "1");
        registry.WriteValue(plat::Hive::LocalMachine, kSettingsKey, "Path", dir_.Path() + "/makes/");
        std::string error;
        plugIn = hostprog::HostMain::LoadPlugIn(BinDir(), error);
        ASSERT_TRUE(plugIn) << error;
        window = std::make_shared<hostprog::FHostMain>(plugIn);
        window->Show();
    }
    void TearDown() override {
        if (window) window->Unload();
        if (plugIn) host::UnregisterPlugIn(plugIn->ID());
    }

    // Carries out the operator's steps (the last one runs as a task posted
    // once it left the operator's queue).
    void Act() {
        plat::MessageLoop::Current().RunUntil([&] { return op.Done(); });
        plat::MessageLoop::Current().DoEventsNoWait();
    }

    // ---- the plug-in's guide window, as the operator works it ----
    void ClickGuide(int32_t id, std::function<void()> then = {}) {
        op.Do("FTestGuide", "toolbar " + std::to_string(id), [id, then](plat::ui::Form& form) {
            auto toolbar = ControlObject<host::XTgToolbar>(form, "xtbToolbar");
            ASSERT_NE(toolbar, nullptr);
            EXPECT_TRUE(toolbar->ClickButton(id)) << "button " << id << " refused";
            if (then) then();
        });
    }
    // Start; the steps `then` queues come once the run's instrument steps are done.
    void StartGuide(std::function<void()> then) { ClickGuide(kStart, std::move(then)); }
    void TypeReadings(const std::string& spo2, const std::string& bpm) {
        op.Do("FTestGuide", "show the results page", [](plat::ui::Form& form) {
            auto pane = ControlObject<host::XTgContentPane>(form, "xcpContents");
            ASSERT_NE(pane, nullptr);
            if (pane->SelectedPane() != 0) {
                EXPECT_TRUE(pane->PickPane(0));
            }
        });
        op.TypeInCell("FTestGuide", "xrvResult.tlstGrid", spo2 + "\r")
            .TypeInCell("FTestGuide", "xrvResult.tlstGrid", bpm + "\r");
    }
    // The four tests of the shipped sequence, each started and passed on with Next.
    void WorkTheSequence(bool withLed = true) {
        StartGuide([=, this] {
            TypeReadings("97", "56");
            ClickGuide(kNext);
            auto probes = [this] {
                StartGuide([this] {
                    ClickGuide(kNext);
                    StartGuide([this] { ClickGuide(kNext); });
                });
            };
            if (withLed)
                StartGuide([this, probes] {
                    ClickGuide(kNext);
                    probes();
                });
            else
                probes();
        });
    }

    // Clicks the guide's button `id` in the quiet second that ends each probe
    // report, while the run waits; 0 is the close box.
    void ClickDuringProbeReport(int32_t id) {
        sim.OnCommand = [id](const serialtest::ReceivedCommand& c) {
            if (c.text != "[PROBE]") return;
            auto& loop = plat::MessageLoop::Current();
            loop.PostDelayed(c.time + 3500 - loop.Now(), [id] {
                plat::ui::Form* guide = plat::ui::FindForm("FTestGuide");
                ASSERT_NE(guide, nullptr);
                if (id == 0) {
                    EXPECT_FALSE(guide->UserClose());
                    return;
                }
                auto toolbar = ControlObject<host::XTgToolbar>(*guide, "xtbToolbar");
                ASSERT_NE(toolbar, nullptr);
                EXPECT_TRUE(toolbar->ClickButton(id)) << "button " << id << " refused";
            });
        };
    }

    std::string StatusLine() {
        auto* label = dynamic_cast<plat::ui::Label*>(ScriptedOperator::FindControl(*window, "lblStatus"));
        return label ? label->Caption() : std::string("<no status line>");
    }
    std::string NodeText(const std::string& key) {
        auto* tree = dynamic_cast<plat::ui::TreeView*>(ScriptedOperator::FindControl(*window, "tvwSequence"));
        return tree && tree->Find(key) ? tree->Find(key)->Text() : std::string("<no node>");
    }
    std::string Setting(const std::string& name) {
        return plat::Registry::Instance().ReadValue(plat::Hive::LocalMachine, kSettingsKey, name);
    }

    plat::VirtualTimeScope time;
    serialtest::FakeSerialScope serial;
    serialtest::SimulatedInstrument sim{serial};
    ScriptedOperator op;
    std::shared_ptr<host::IPlugIn> plugIn;
    std::shared_ptr<hostprog::FHostMain> window;
};

TEST_F(HostProgramTest, RegistersTheLibrariesBesideItAndShowsTheTemplateSequence) {
    for (const char* progId : {hostprog::HostMain::kPlugInProgId, drv::kXVTIControlProgId})
        EXPECT_TRUE(plat::fs::FileExists(plat::Registry::Instance().ReadValue(
            plat::Hive::ClassesRoot, std::string(progId) + "\\InprocServer32", "")))
            << progId;
    EXPECT_EQ(NodeText("n"), "[x] Pelmo Q5 SpO2 Simulator");
    EXPECT_EQ(NodeText("n.1"), "[x] SpO2 Simulation Test");
    EXPECT_EQ(NodeText("n.4").substr(0, 4), "[x] ");
    EXPECT_EQ(NodeText("n.5"), "<no node>");
}

class HostStartTest : public test_support::SandboxTest {};

TEST_F(HostStartTest, APlugInNeitherRegisteredNorBesideTheProgramIsReportedNotLoaded) {
    std::string error;
    EXPECT_EQ(hostprog::HostMain::LoadPlugIn(dir_.Path(), error), nullptr);
    EXPECT_THAT(error, HasSubstr("liborvikPelmo2.so"));
    // The program says so and ends; its windows were named after it before the window system's set-up.
    plat::ui::WindowIdentity named;
    EXPECT_EQ(hostprog::HostMain::Main(dir_.Path(), "", [&] { named = plat::ui::WindowIdentity::Current(); }), 1);
    EXPECT_EQ(named, (plat::ui::WindowIdentity{"orvik-host", ""}));
}

TEST_F(HostProgramTest, SettingsAreEditedInTheFrameAndSavedWhenItCloses) {
    EXPECT_EQ(Setting("DefaultMakeLocation"), "");
    op.Click("FHostMain", "cmdSettings")
        .Pick("frmPlugInSettings", "cboDefaultOximeter", 3)
        .Do("frmPlugInSettings", "nothing saved while open",
            [this](plat::ui::Form&) { EXPECT_EQ(Setting("DefaultMakeLocation"), ""); })
        .Click("frmPlugInSettings", "cmdClose");
    Act();
    EXPECT_EQ(Setting("DefaultMakeLocation"), "3");
    EXPECT_EQ(plat::ui::FindForm("frmPlugInSettings"), nullptr);
}

TEST_F(HostProgramTest, TheSequenceRunsSavesReopensAndReports) {
    op.Click("FHostMain", "cmdRunSequence");
    WorkTheSequence();
    Act();
    EXPECT_EQ(NodeText("n.1"), "[x] SpO2 Simulation Test - passed");
    for (const char* key : {"n.2", "n.3", "n.4"}) EXPECT_THAT(NodeText(key), HasSubstr(" - ")) << key;
    EXPECT_THAT(sim.CommandTexts(), Contains("[PROBE]"));

    const std::string file = dir_.File("run.xml");
    const std::string html = dir_.File("run.html");
    const std::string text = dir_.File("run.txt");
    op.ClickNode("FHostMain", "tvwSequence", "n.1")
        .Type("FHostMain", "txtComment", "checked by T.")
        .Type("FHostMain", "txtFile", file)
        .Click("FHostMain", "cmdSave")
        .Type("FHostMain", "txtReport", html)
        .Click("FHostMain", "cmdReport")
        .EnterText("FHostMain", "txtReport", text)
        .Click("FHostMain", "cmdReport");
    Act();

    // Both reports read without the program: every test under its name with
    // its status, readings and comment; the plug-in's marks rendered, not printed.
    std::string page, plain;
    ASSERT_TRUE(plat::fs::ReadFile(html, page));
    ASSERT_TRUE(plat::fs::ReadFile(text, plain));
    EXPECT_THAT(page, HasSubstr("Sequence file: " + file + "<br>\nDate: 20"));
    EXPECT_THAT(page, HasSubstr("<h3>SpO2 Simulation Test</h3>\n<p>Status: passed</p>\n<table>\n<tr><th><b><i>"));
    EXPECT_THAT(page, HasSubstr("<td style=\"text-align:right\">97</td>"));
    EXPECT_THAT(page, HasSubstr("<p>Comment: checked by T.</p>\n<h3>LED Test</h3>\n<p>Status: "));
    EXPECT_THAT(page, Not(HasSubstr("<td></td><td>")));
    EXPECT_THAT(plain, HasSubstr("Sequence file: " + file + "\nDate: 20"));
    EXPECT_THAT(plain, HasSubstr("\nSpO2 Simulation Test\n--------------------\nStatus: passed\n"));
    EXPECT_THAT(plain, HasSubstr("Comment: checked by T.\n\nLED Test\n"));
    for (const std::string* report : {&page, &plain}) {
        EXPECT_THAT(*report, Not(HasSubstr("{\\")));
        EXPECT_THAT(*report, Not(HasSubstr("\\")));
        EXPECT_THAT(*report, HasSubstr("Oximeter make name"));
        EXPECT_THAT(*report, HasSubstr("Status: passed"));
    }

    window->Unload();
    window = std::make_shared<hostprog::FHostMain>(plugIn);
    window->Show();
    ASSERT_TRUE(window->OpenSequence(file));
    EXPECT_EQ(NodeText("n.1"), "[x] SpO2 Simulation Test - passed");
    auto test = window->ElementOf("n.1");
    ASSERT_TRUE(test && test->Result());
    EXPECT_EQ(test->Result()->Comment(), "checked by T.");
    EXPECT_EQ(test->Result()->MeasurementCount(), 2);
    EXPECT_EQ(test->TestID(), 100);
}

TEST_F(HostProgramTest, ACustomMakeChosenWithUploadIsSavedReopenedAndUploadedIntoTheChosenSlot) {
    // A custom make in the make folder; the sequence is made again so its test sees it.
    std::string make = "[MANUFACTURER]\r\nMAN_NAME=Acme Ox\r\n\r\n[LIGHT]\r\nRDC=2100\r\nIRDC=1900\r\n"
                       "IRAC=420\r\nLightLevel=1\r\nTLC=2300\r\n\r\n[RVALUE]\r\n";
    for (int spo2 = 50; spo2 <= 100; ++spo2) make += "RVALUE" + std::to_string(spo2) + "=1.5\r\n";
    ASSERT_TRUE(plat::fs::WriteFileAtomic(dir_.Path() + "/makes/acme_ox.txt", make));
    window->Unload();
    window = std::make_shared<hostprog::FHostMain>(plugIn);
    window->Show();

    const std::string file = dir_.File("custom.xml");
    op.ClickNode("FHostMain", "tvwSequence", "n.1")
        .Click("FHostMain", "cmdConfiguration")
        .PickText("frmConfiguration", "cboMakeName", "Acme Ox")
        .Do("frmConfiguration", "upload offered for the custom make", [](plat::ui::Form& form) {
            auto* upload = dynamic_cast<plat::ui::CheckBox*>(
                ScriptedOperator::FindControl(form, "chkUploadRCurve"));
            ASSERT_NE(upload, nullptr);
            EXPECT_TRUE(upload->Enabled());
            if (upload->Value() == 0) {
                EXPECT_TRUE(upload->Click());
            }
        })
        .Click("frmConfiguration", "cmdClose")
        .Type("FHostMain", "txtFile", file)
        .Click("FHostMain", "cmdSave");
    Act();
    EXPECT_TRUE(op.Messages().empty());

    window->Unload();
    window = std::make_shared<hostprog::FHostMain>(plugIn);
    window->Show();
    ASSERT_TRUE(window->OpenSequence(file));
    op.ClickNode("FHostMain", "tvwSequence", "n.1").Click("FHostMain", "cmdRunTest");
    StartGuide([this] {
        TypeReadings("97", "56");
        ClickGuide(kNext);
    });
    op.Pick("frmUploadLocation", "ComUploadLocation", 2).Click("frmUploadLocation", "cmdOK");
    Act();

    ASSERT_EQ(sim.Uploads().size(), 1u);
    EXPECT_EQ(sim.Uploads()[0].slot, 2);
    bool curveSent = false;
    for (const std::string& command : sim.CommandTexts())
        if (command.rfind("[RCURVE>2:Acme Ox", 0) == 0) curveSent = true;
    EXPECT_TRUE(curveSent);
    EXPECT_THAT(sim.CommandTexts(), Not(Contains("[MAKE12]")));
    EXPECT_EQ(NodeText("n.1"), "[x] SpO2 Simulation Test - passed");
}

TEST_F(HostProgramTest, ADeselectedTestIsLeftOutOfTheRun) {
    op.ClickNode("FHostMain", "tvwSequence", "n.2").Click("FHostMain", "chkSelected");
    Act();
    EXPECT_EQ(NodeText("n.2"), "[ ] LED Test");
    op.Click("FHostMain", "cmdRunSequence");
    WorkTheSequence(false);
    Act();
    EXPECT_EQ(window->ElementOf("n.2")->Result(), nullptr);
    EXPECT_THAT(NodeText("n.3"), HasSubstr(" - "));
}

TEST_F(HostProgramTest, OneTestRunsAloneAndItsDialogsOpenInFramesWithClose) {
    op.ClickNode("FHostMain", "tvwSequence", "n.1")
        .Do("FHostMain", "no result yet", [](plat::ui::Form& form) {
            EXPECT_FALSE(ScriptedOperator::FindControl(form, "cmdResult")->Enabled());
        })
        .Click("FHostMain", "cmdRunTest");
    StartGuide([this] {
        TypeReadings("90", "56");
        ClickGuide(kNext);
    });
    Act();
    EXPECT_EQ(NodeText("n.1"), "[x] SpO2 Simulation Test - failed");
    EXPECT_EQ(NodeText("n.2"), "[x] LED Test");  // not run

    for (const auto& [button, frame] : {std::pair{"cmdResult", "frmResult"}, {"cmdLimits", "frmLimits"},
                                        {"cmdConfiguration", "frmConfiguration"}, {"cmdSettings", "frmPlugInSettings"}})
        op.Click("FHostMain", button)
            .Do(frame, "the frame fits its page", ExpectTheFrameFitsItsPage)
            .Click(frame, "cmdClose");
    Act();
    EXPECT_TRUE(op.Messages().empty());
}

TEST_F(HostProgramTest, StopAsksTheOperatorAndStopsTheRunOnlyOnYes) {
    ClickDuringProbeReport(kStop);
    int32_t afterNo = -1, afterYes = -1;
    auto status = [this] { return window->ElementOf("n.2")->Result()->Status(); };
    op.ClickNode("FHostMain", "tvwSequence", "n.2").Click("FHostMain", "cmdRunTest");
    StartGuide([&, this] {
        afterNo = status();
        StartGuide([&, this] {
            afterYes = status();
            ClickGuide(kNext);
        });
        op.Answer(plat::ui::vbYes, "Stop the test that is running?");
    });
    op.Answer(plat::ui::vbNo, "Stop the test that is running?");
    Act();
    ASSERT_EQ(op.Messages().size(), 2u);
    EXPECT_EQ(op.Messages()[0].buttons, plat::ui::vbYesNo | plat::ui::vbQuestion | plat::ui::vbDefaultButton2);
    EXPECT_TRUE(afterNo == 1 || afterNo == 2) << afterNo;  // the readings came in and were judged
    EXPECT_EQ(afterYes, 0);                                 // none came in
    EXPECT_EQ(StatusLine(), "Run ended: not evaluated.");
    // Without the host window there is nobody to ask: the answer set stands.
    window->Unload();
    window.reset();
    host::HostApplication().SetConfirmStopAnswer(false);
    EXPECT_FALSE(host::HostApplication().ConfirmStop());
    host::HostApplication().SetConfirmStopAnswer(true);
}

TEST_F(HostProgramTest, AbortAndTheGuidesCloseBoxEndTheRunAsAborted) {
    op.Click("FHostMain", "cmdRunSequence")
        .Do("FTestGuide", "the close box", [](plat::ui::Form& form) { EXPECT_FALSE(form.UserClose()); });
    Act();
    EXPECT_EQ(StatusLine(), "Run aborted.");

    ClickDuringProbeReport(kAbort);
    op.ClickNode("FHostMain", "tvwSequence", "n.3").Click("FHostMain", "cmdRunTest");
    StartGuide({});
    Act();
    EXPECT_EQ(window->ElementOf("n.3")->Result(), nullptr);
    EXPECT_EQ(StatusLine(), "Run aborted.");
}

TEST_F(HostProgramTest, ADialogThePlugInDoesNotGiveIsReportedAsSuch) {
    op.ClickNode("FHostMain", "tvwSequence", "n")  // the group has no configuration
        .Click("FHostMain", "cmdConfiguration")
        .Answer(plat::ui::vbOK, "no configuration dialog");
    Act();
    EXPECT_EQ(plat::ui::FindForm("frmConfiguration"), nullptr);
}

TEST_F(HostProgramTest, AfterASilentInstrumentTheSameTestRunsAgainFromTheHost) {
    sim.SetSilent(true);
    op.ClickNode("FHostMain", "tvwSequence", "n.1").Click("FHostMain", "cmdRunTest");
    StartGuide([this] { ClickGuide(kNext); });
    op.Answer(plat::ui::vbOK, "No instrument was found");
    Act();
    EXPECT_EQ(op.Messages().size(), 1u);
    EXPECT_EQ(NodeText("n.1"), "[x] SpO2 Simulation Test - not evaluated");

    sim.SetSilent(false);
    op.Click("FHostMain", "cmdRunTest");
    StartGuide([this] {
        TypeReadings("97", "56");
        ClickGuide(kNext);
    });
    Act();
    EXPECT_EQ(NodeText("n.1"), "[x] SpO2 Simulation Test - passed");
}

TEST_F(HostProgramTest, ATestDroppedOnLoadingIsToldInTheWindow) {
    const std::string file = dir_.File("run.xml");
    window->ElementOf("n.1")->Info()->SetName("Saturation 70");
    op.Type("FHostMain", "txtFile", file).Click("FHostMain", "cmdSave");
    Act();
    std::string saved;
    ASSERT_TRUE(plat::fs::ReadFile(file, saved));
    const std::string led = "TestID=\"200\"";
    const size_t at = saved.find(led);
    ASSERT_NE(at, std::string::npos);
    saved.replace(at, led.size(), "TestID=\"977\"");
    ASSERT_TRUE(plat::fs::WriteFileAtomic(file, saved));

    host::ErrorService().SetEcho(false);
    op.Answer(plat::ui::vbOK, "Error 0x8004A233 from Pelmo2");
    EXPECT_TRUE(window->OpenSequence(file));
    ASSERT_FALSE(op.Messages().empty());
    EXPECT_THAT(op.Messages().back().prompt, HasSubstr("The plug-in has no test of ID 977."));
    // Only that test is left out: the others are the saved ones.
    EXPECT_EQ(NodeText("n.1"), "[x] Saturation 70");
    EXPECT_EQ(NodeText("n.2"), "[x] Photodiode Test");
    EXPECT_EQ(NodeText("n.4"), "<no node>");
    host::ErrorService().SetEcho(true);
    EXPECT_TRUE(op.Done());
}

TEST_F(HostProgramTest, AFileThatCannotBeWrittenOrReadIsToldAndTheSequenceStays) {
    const std::string file = dir_.File("no/such/folder/run.xml");
    op.Type("FHostMain", "txtFile", file)
        .Click("FHostMain", "cmdSave")
        .Answer(plat::ui::vbOK, "could not be saved")
        .Click("FHostMain", "cmdOpen")
        .Answer(plat::ui::vbOK, "could not be opened")
        .Type("FHostMain", "txtReport", dir_.File("no/such/folder/run.html"))
        .Click("FHostMain", "cmdReport")
        .Answer(plat::ui::vbOK, "could not be written")
        .EnterText("FHostMain", "txtFile", dir_.Path())
        .Click("FHostMain", "cmdOpen")
        .Answer(plat::ui::vbOK, "is a folder, not an XML file");
    Act();
    EXPECT_EQ(NodeText("n.1"), "[x] SpO2 Simulation Test");
    EXPECT_FALSE(plat::fs::FileExists(file));
    for (const auto& message : op.Messages()) EXPECT_TRUE(message.prompt.ends_with(".")) << message.prompt;
}

}  // namespace
