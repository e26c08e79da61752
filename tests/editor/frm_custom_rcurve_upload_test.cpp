// Send: the shown make uploaded with the real driver library, created by
// ProgID, to the simulated instrument on a fake serial line, on the virtual
// clock; the slot dialog, Cancel, the driver's failures and the window's
// state around the road.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "driver/vti_interface.h"
#include "platform/com/com.h"
#include "platform/ui/progress_bar.h"
#include "tests/editor/editor_fixture.h"
#include "tests/support/serial/fake_serial_port.h"
#include "tests/support/serial/simulated_instrument.h"

namespace editor_test {
namespace {

using ::testing::ElementsAre;
using plat::ui::vbNo;
using plat::ui::vbOK;
using plat::ui::vbYes;

constexpr const char* kMain = "frmCustomRcurve";
constexpr const char* kSlots = "frmUploadLocation";
constexpr const char* kSent = "The oximeter details were successfully sent to Pelmo Q5.";
constexpr const char* kFailed = "An error was encoutered while sending the oximeter details to Pelmo Q5.";

std::string BinDir() {
    const char* bin = std::getenv("ORVIK_BIN_DIR");
    return bin ? bin : ".";
}

class UploadTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        plat::Registry::Instance().WriteValue(plat::Hive::LocalMachine,
                                              "Software\\Velam\\Orvik\\InstrumentLink\\Pelmo2", "Port", "1");
        ASSERT_NO_THROW(plat::RegisterServer(BinDir() + "/liborvikPelmo2VTI.so"));
        auto low = SampleMake("Lowlight", 1234, 2.0);
        low->SetLightLevel(2);
        low->SetTLC(777);
        WriteMake(SampleMake("Alpha", 1000, 1.5), "alpha.txt");
        WriteMake(low, "low.txt");
    }

    // Clicks Send and picks the entry (from 0) of the slot dialog; nullopt cancels it.
    void Send(ScriptedOperator& op, std::optional<int32_t> entry, std::vector<std::string>* offered = nullptr) {
        op.Click(kMain, "cmdUpload");
        ChooseSlot(op, entry, offered);
    }
    static void ChooseSlot(ScriptedOperator& op, std::optional<int32_t> entry,
                           std::vector<std::string>* offered = nullptr) {
        if (offered)
            op.Do(kSlots, "read the slots", [offered](plat::ui::Form& form) {
                auto* list = dynamic_cast<plat::ui::ComboBox*>(ScriptedOperator::FindControl(form, "ComUploadLocation"));
                ASSERT_NE(list, nullptr);
                offered->clear();
                for (int32_t i = 0; i < list->ListCount(); ++i) offered->push_back(list->List(i));
            });
        if (!entry) {
            op.Click(kSlots, "cmdCancel");
            return;
        }
        op.Pick(kSlots, "ComUploadLocation", *entry).Click(kSlots, "cmdOK");
    }
    // The window is back to idle: no driver control, nothing locked.
    void ExpectIdle() {
        auto& w = *window_;
        EXPECT_FALSE(w.Uploading());
        EXPECT_FALSE(w.Controls().Exists(drv::kVTIControlName));
        EXPECT_EQ(Ctl<plat::ui::CommandButton>("cmdClose").Caption(), "&Close");
        EXPECT_TRUE(Ctl<plat::ui::CommandButton>("cmdClose").Enabled());
        EXPECT_TRUE(Ctl<plat::ui::CommandButton>("cmdUpload").Enabled());
        EXPECT_TRUE(Ctl<plat::ui::Toolbar>("tbrmakeAction").Enabled());
        EXPECT_FALSE(Ctl<plat::ui::ProgressBar>("xtgUploading").Visible());
        EXPECT_FALSE(Ctl<plat::ui::ProgressBar>("xtgUploading").Running());
        EXPECT_FALSE(Ctl<plat::ui::Label>("lblUploading").Visible());
        EXPECT_TRUE(Grid().Enabled());
        EXPECT_FALSE(Picker().Locked());
        for (const char* box : {"txtRDC", "txtIRDC", "txtIRAC", "txtTLC"}) EXPECT_FALSE(Box(box).Locked()) << box;
    }
    // Send fails before the slot dialog: one critical 21053, nothing on the wire.
    void ExpectFailureBeforeTheSlotDialog() {
        Open();
        ScriptedOperator op;
        op.Click(kMain, "cmdUpload").Answer(vbOK, kFailed);
        Run(op);
        ASSERT_EQ(op.Messages().size(), 1u);
        EXPECT_EQ(op.Messages()[0].Icon(), plat::ui::vbCritical);
        EXPECT_EQ(op.Messages()[0].title, "Send");
        EXPECT_TRUE(sim.CommandTexts().empty());
        ExpectIdle();
    }
    std::vector<std::string> Uploaded() const {
        std::vector<std::string> out;
        for (const auto& c : sim.CommandTexts())
            if (c.rfind("[RCURVE>", 0) == 0) out.push_back(c);
        return out;
    }

    serialtest::FakeSerialScope serial;
    serialtest::SimulatedInstrument sim{serial};
};

TEST_F(UploadTest, SendsTheShownMakeIntoTheChosenSlotWithItsLightValues) {
    Open();
    std::vector<std::string> offered;
    ScriptedOperator op;
    Send(op, 2, &offered);
    op.Do(kMain, "while sending", [&](plat::ui::Form&) {});
    op.Answer(vbOK, kSent);
    Run(op);
    EXPECT_THAT(offered, ElementsAre("Custom #1", "Custom #2", "Custom #3", "Custom #4"));
    const auto wire = sim.CommandTexts();
    ASSERT_EQ(wire.size(), 6u) << ::testing::PrintToString(wire);
    EXPECT_EQ(wire[0], "[VER]");
    EXPECT_EQ(wire[1].rfind("[RCURVE>2:Alpha    :200:100:", 0), 0u) << wire[1];
    EXPECT_THAT(std::vector<std::string>(wire.begin() + 2, wire.end()),
                ElementsAre("[VER]", "[IRAC300]", "[TLC400]", "[Q]"));
    ASSERT_EQ(sim.Uploads().size(), 1u);
    const auto& upload = sim.Uploads()[0];
    EXPECT_EQ(upload.slot, 2);
    ASSERT_EQ(upload.values.size(), 51u);
    EXPECT_EQ(upload.values.front(), "150");  // SpO2 50
    EXPECT_EQ(upload.values.back(), "100");   // SpO2 100
    EXPECT_FALSE(serial.Line().IsOpen());
    ExpectIdle();
}

TEST_F(UploadTest, EverySlotOfBothLightLevels) {
    Open();
    ScriptedOperator op;
    for (int32_t entry = 0; entry < 4; ++entry) Send(op, entry), op.Answer(vbOK, kSent);
    op.Pick(kMain, "cmbCustomRcurve", 1);
    std::vector<std::string> offered;
    Send(op, 0, &offered);
    op.Answer(vbOK, kSent);
    Send(op, 1);
    op.Answer(vbOK, kSent);
    Run(op);
    EXPECT_THAT(offered, ElementsAre("Custom #5", "Custom #6"));
    std::vector<int> slots;
    for (const auto& upload : sim.Uploads()) slots.push_back(upload.slot);
    EXPECT_THAT(slots, ElementsAre(0, 1, 2, 3, 4, 5));
    EXPECT_EQ(sim.Uploads().back().name, "Lowlight ");
    EXPECT_EQ(sim.Uploads().back().rdc, "123");
    EXPECT_EQ(sim.Value("TLC"), "777");
    EXPECT_EQ(sim.QuitCount(), 6);
    ExpectIdle();
}

TEST_F(UploadTest, UnsavedEditsGoOnlyAsSaved) {
    auto& w = Open();
    ScriptedOperator op;
    // Too large: refused before the question, nothing sent.
    op.Do(kMain, "TLC 5000", [&](plat::ui::Form&) { Box("txtTLC").SetText(""); })
        .Type(kMain, "txtTLC", "5000")
        .Click(kMain, "cmdUpload")
        .Answer(vbOK, "TLC value can not be greater than 4095.")
        // Valid, but the user will not save: nothing sent.
        .Do(kMain, "TLC 41", [&](plat::ui::Form&) { Box("txtTLC").SetText(""); })
        .Type(kMain, "txtTLC", "41")
        .Click(kMain, "cmdUpload")
        .Answer(vbNo, "R-Curve is not saved before sending to Pelmo Q5.\r\n\r\nClick Yes - To send custom R-Curve to "
                      "Pelmo Q5 after saving the changes.\r\nClick No - To exit from sending custom R-Curve to Pelmo Q5.")
        // Saved in place: what was stored goes.
        .Click(kMain, "cmdUpload")
        .Answer(vbYes, "R-Curve is not saved")
        .Answer(vbYes, "Are you sure you want to overwrite")
        .Answer(vbOK, "The oximeter was successfully saved.");
    ChooseSlot(op, 0);
    op.Answer(vbOK, kSent)
        // The save refused: nothing sent.
        .Do(kMain, "TLC 42", [&](plat::ui::Form&) { Box("txtTLC").SetText(""); })
        .Type(kMain, "txtTLC", "42")
        .Click(kMain, "cmdUpload")
        .Answer(vbYes, "R-Curve is not saved")
        .Answer(vbNo, "Are you sure you want to overwrite");
    RefuseNewName(op);
    Run(op);
    EXPECT_EQ(sim.Uploads().size(), 1u);
    EXPECT_EQ(sim.Value("TLC"), "41");
    EXPECT_EQ(ReadBack("alpha.txt")->TLC(), 41);
    EXPECT_EQ(Box("txtTLC").Text(), "42");
    EXPECT_EQ(w.CurrentMake()->TLC(), 41);
    ExpectIdle();
}

TEST_F(UploadTest, CancelledSlotDialogSendsNothingAndSaysNothing) {
    Open();
    ScriptedOperator op;
    Send(op, std::nullopt);
    Run(op);
    EXPECT_TRUE(op.Messages().empty());
    EXPECT_TRUE(Uploaded().empty());
    EXPECT_THAT(sim.CommandTexts(), ElementsAre("[Q]"));  // the simulator leaves remote mode
    ExpectIdle();
}

TEST_F(UploadTest, CancelDuringTheUploadEndsItWithoutTLCOrMessage) {
    Open();
    sim.SetReplyDelay(2000);  // a slow instrument: Cancel comes during the version query
    ScriptedOperator op;
    Send(op, 1);
    op.Do(kMain, "sending", [&](plat::ui::Form&) {
          EXPECT_TRUE(window_->Uploading());
          EXPECT_EQ(Ctl<plat::ui::CommandButton>("cmdClose").Caption(), "&Cancel");
          EXPECT_TRUE(Ctl<plat::ui::ProgressBar>("xtgUploading").Visible());
          EXPECT_TRUE(Ctl<plat::ui::ProgressBar>("xtgUploading").Running());
          EXPECT_EQ(Ctl<plat::ui::Label>("lblUploading").Caption(), "Sending...");
          EXPECT_FALSE(Ctl<plat::ui::CommandButton>("cmdUpload").Enabled());
          EXPECT_TRUE(window_->Controls().Exists(drv::kVTIControlName));
      })
        .Click(kMain, "cmdClose");
    Run(op);
    EXPECT_TRUE(op.Messages().empty()) << Prompts(op).front();
    EXPECT_TRUE(Uploaded().empty());
    const auto wire = sim.CommandTexts();
    EXPECT_EQ(std::count(wire.begin(), wire.end(), "[TLC400]"), 0);
    EXPECT_EQ(wire.back(), "[Q]");
    EXPECT_TRUE(window_->Loaded());  // Cancel closes nothing
    ExpectIdle();
}

TEST_F(UploadTest, TheCloseBoxDuringTheUploadCancelsItAndKeepsTheWindow) {
    Open();
    sim.SetReplyDelay(2000);
    ScriptedOperator op;
    Send(op, 1);
    op.Do(kMain, "close box", [](plat::ui::Form& form) { EXPECT_FALSE(form.UserClose()); });
    Run(op);
    EXPECT_TRUE(op.Messages().empty());
    EXPECT_TRUE(Uploaded().empty());
    EXPECT_TRUE(window_->Loaded());
    ExpectIdle();
}

TEST_F(UploadTest, NoPortForTheInstrumentGives21053BeforeTheSlotDialog) {
    plat::Registry::Instance().WriteValue(plat::Hive::LocalMachine, "Software\\Velam\\Orvik\\InstrumentLink\\Pelmo2",
                                          "Port", "0");
    ExpectFailureBeforeTheSlotDialog();
}

TEST_F(UploadTest, ASilentSimulatorGives21053Once) {
    Open();
    sim.SetSilent(true);
    ScriptedOperator op;
    Send(op, 0);
    op.Answer(vbOK, kFailed);
    Run(op);
    EXPECT_EQ(op.Messages().size(), 1u);
    EXPECT_TRUE(Uploaded().empty());  // the version query went unanswered
    const auto wire = sim.CommandTexts();
    EXPECT_EQ(std::count(wire.begin(), wire.end(), "[TLC400]"), 0);
    ExpectIdle();
}

TEST_F(UploadTest, ABusyPortGives21053Once) {
    serial.Line().FailOpen(plat::PortError::Busy);
    ExpectFailureBeforeTheSlotDialog();
}

TEST_F(UploadTest, AFailureDuringTheCleanUpDoesNotSpoilASentUpload) {
    Open();
    serial.Line().FailWritesFrom(5);  // the quit command after the TLC
    ScriptedOperator op;
    Send(op, 3);
    op.Answer(vbOK, kSent);
    Run(op);
    EXPECT_EQ(op.Messages().size(), 1u);
    ASSERT_EQ(sim.Uploads().size(), 1u);
    EXPECT_EQ(sim.Value("TLC"), "400");
    EXPECT_EQ(sim.QuitCount(), 0);
    ExpectIdle();
}

TEST_F(UploadTest, ADriverThatCannotBeAddedGives21053BeforeTheSlotDialog) {
    plat::UnregisterServer(BinDir() + "/liborvikPelmo2VTI.so");
    ExpectFailureBeforeTheSlotDialog();
}

}  // namespace
}  // namespace editor_test
