// Saving the shown make: the checks of the Save button, in place, under a new
// name, a predefined (read-only) make, and a write that fails.
#include <gtest/gtest.h>

#include <array>

#include "tests/editor/editor_fixture.h"

namespace editor_test {
namespace {

using plat::ui::vbNo;
using plat::ui::vbOK;
using plat::ui::vbYes;

class SaveTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        WriteMake(SampleMake("Alpha", 1000, 1.5), "alpha.txt");
        WriteMake(SampleMake("Beta", 2000, 2.0), "beta.txt");
    }
    // Sets the four boxes as pasted text and clicks Save; the messages come from `answers`.
    void SaveWith(ScriptedOperator& op, const std::array<std::string, 4>& values) {
        op.Do("frmCustomRcurve", "fill the boxes", [this, values](plat::ui::Form&) {
            Box("txtRDC").SetText(values[0]);
            Box("txtIRDC").SetText(values[1]);
            Box("txtIRAC").SetText(values[2]);
            Box("txtTLC").SetText(values[3]);
        });
        op.Do("frmCustomRcurve", "click Save", [this](plat::ui::Form&) {
            SaveButton().SetEnabled(true);
            SaveButton().Click();
        });
    }
    std::string Refusal(const std::array<std::string, 4>& values) {
        ScriptedOperator op;
        SaveWith(op, values);
        op.Answer(vbOK);
        Run(op);
        EXPECT_EQ(op.Messages().size(), 1u);
        return op.Messages().empty() ? "" : op.Messages().back().prompt;
    }
};

TEST_F(SaveTest, TheChecksRefuseInTheirOrderWithOneMessage) {
    Open();
    const std::string filled = "All oximeter parameters must be filled.";
    EXPECT_EQ(Refusal({"", "1", "1", "5000"}), filled);
    EXPECT_TRUE(Box("txtRDC").HasFocus());
    EXPECT_EQ(Refusal({"5000", "1", "4096", "1"}), "RDC value can not be greater than 4095.");
    EXPECT_TRUE(Box("txtRDC").HasFocus());
    EXPECT_EQ(Refusal({"1", "9999", "1", "1"}), "IRDC value can not be greater than 4095.");
    EXPECT_TRUE(Box("txtIRDC").HasFocus());
    EXPECT_EQ(Refusal({"1", "1", "4096", "1"}), "IRAC value can not be greater than 4095.");
    EXPECT_EQ(Refusal({"4095", "4095", "4095", "4096"}), "TLC value can not be greater than 4095.");
    EXPECT_TRUE(Box("txtTLC").HasFocus());
    for (const char* bad : {"1 2", "12a", "-5", "+1", "1.5", "99999", "   "}) {
        EXPECT_EQ(Refusal({"1", bad, "1", "1"}), filled) << bad;
        EXPECT_TRUE(Box("txtIRDC").HasFocus()) << bad;
    }
}

TEST_F(SaveTest, AnEmptyRValueOpensTheFirstEmptyCell) {
    Open();
    Grid().SetCellText(17, 2, "");
    Grid().SetCellText(41, 2, "");
    EXPECT_EQ(Refusal({"1", "1", "1", "1"}), "All oximeter parameters must be filled.");
    EXPECT_TRUE(Grid().Editing());
    EXPECT_EQ(Grid().EditRow(), 17);
    EXPECT_EQ(Grid().EditCol(), 2);
    EXPECT_EQ(ReadBack("alpha.txt")->RedDC(), 1000);
}

TEST_F(SaveTest, AfterAnEmptyRValueTheKeysGoToTheOpenedCell) {
    Open();
    Grid().SetCellText(17, 2, "");
    Grid().SetCellText(41, 2, "");
    SaveButton().SetEnabled(true);
    ScriptedOperator op;
    op.Click("frmCustomRcurve", "cmdSave")
        .Answer(vbOK, "All oximeter parameters must be filled.")
        .Do("frmCustomRcurve", "typed", [&](plat::ui::Form&) {
            EXPECT_TRUE(Grid().HasFocus());
            Grid().EnterEditText("0.9");
        })
        // Enter is the cell's, not Save's.
        .PressEnter("frmCustomRcurve")
        .Do("frmCustomRcurve", "committed", [&](plat::ui::Form&) {
            EXPECT_EQ(RValue(66), "0.9");
            EXPECT_EQ(Grid().EditRow(), 18);
        })
        .Click("frmCustomRcurve", "cmdSave")
        .Answer(vbOK, "All oximeter parameters must be filled.")
        .Do("frmCustomRcurve", "typed", [&](plat::ui::Form&) { Grid().EnterEditText("1.2"); })
        // Save takes the second value without an Enter.
        .Click("frmCustomRcurve", "cmdSave")
        .Answer(vbYes, "overwrite")
        .Answer(vbOK, "successfully saved");
    Run(op);
    auto stored = ReadBack("alpha.txt");
    EXPECT_EQ(stored->RCurve()->Item(17)->rvalue(), "0.9");
    EXPECT_EQ(stored->RCurve()->Item(41)->rvalue(), "1.2");
}

TEST_F(SaveTest, InPlaceAfterTheOverwriteQuestion) {
    auto& w = Open();
    const auto shownBefore = w.CurrentMake();
    ScriptedOperator op;
    SaveWith(op, {" 12 ", "4095", "0007", "4095"});
    op.Answer(vbYes, "Are you sure you want to overwrite the data for this oximeter?")
        .Answer(vbOK, "The oximeter was successfully saved.");
    Run(op);
    EXPECT_EQ(op.Messages().at(0).title, "Overwrite");
    EXPECT_EQ(op.Messages().at(1).title, "Save");
    auto stored = ReadBack("alpha.txt");
    EXPECT_EQ(stored->RedDC(), 12);
    EXPECT_EQ(stored->IRAC(), 7);
    EXPECT_EQ(stored->Name(), "Alpha");
    EXPECT_FALSE(SaveButton().Enabled());
    EXPECT_EQ(PickerEntries(), (std::vector<std::string>{"Alpha", "Beta"}));
    // The list holds the stored make at its old place, and it is the shown one.
    EXPECT_NE(w.CurrentMake(), shownBefore);
    EXPECT_EQ(w.Makes()->Item(1), w.CurrentMake());
    EXPECT_EQ(w.Makes()->Item("Alpha")->RedDC(), 12);
    EXPECT_FALSE(w.IsSettingsGotChanged());
}

TEST_F(SaveTest, UnderANewNameLeavesTheShownMakeAsItWas) {
    auto& w = Open();
    ScriptedOperator op;
    op.ClickCell("frmCustomRcurve", "tliRValue", 1, 2).TypeInCell("frmCustomRcurve", "tliRValue", "2\r");
    SaveWith(op, {"1000", "2000", "300", "400"});
    op.Answer(vbNo, "overwrite");
    AcceptNewName(op, "Gamma", "gamma.txt");
    op.Answer(vbOK, "successfully saved");
    Run(op);
    EXPECT_EQ(PickerEntries(), (std::vector<std::string>{"Alpha", "Beta", "Gamma"}));
    EXPECT_EQ(Picker().Text(), "Gamma");
    EXPECT_EQ(w.CurrentMake()->Name(), "Gamma");
    EXPECT_EQ(Box("txtRcurveFileName").Text(), "gamma.txt");
    EXPECT_FALSE(SaveButton().Enabled());
    auto gamma = ReadBack("gamma.txt");
    ASSERT_NE(gamma, nullptr);
    EXPECT_EQ(gamma->Name(), "Gamma");
    EXPECT_EQ(gamma->RCurve()->Item(1)->rvalue(), "2");
    EXPECT_EQ(ReadBack("alpha.txt")->RCurve()->Item(1)->rvalue(), "1.5");
    EXPECT_EQ(w.Makes()->Item("Alpha")->RCurve()->Item(1)->rvalue(), "1.5");
}

TEST_F(SaveTest, APredefinedMakeGoesStraightToTheSaveMakeDialog) {
    WriteMake(SampleMake("Aardvark"), "aardvark.txt", true);
    auto& w = Open();
    ASSERT_EQ(w.CurrentMake()->Name(), "Aardvark");
    ScriptedOperator op;
    SaveWith(op, {"1", "2", "3", "4"});
    RefuseNewName(op);
    Run(op);
    EXPECT_TRUE(op.Messages().empty());  // no overwrite question, no message after the refusal
    EXPECT_TRUE(SaveButton().Enabled());
    EXPECT_EQ(ReadBack("aardvark.txt")->RedDC(), 1000);

    op.Do("frmCustomRcurve", "click Save", [this](plat::ui::Form&) { SaveButton().Click(); });
    AcceptNewName(op, "Zebra", "zebra.txt");
    op.Answer(vbOK, "successfully saved");
    Run(op);
    EXPECT_EQ(ReadBack("zebra.txt")->RedDC(), 1);
    EXPECT_EQ(ReadBack("aardvark.txt")->RedDC(), 1000);
    EXPECT_TRUE(plat::fs::IsReadOnly(folder_ + "aardvark.txt"));
}

TEST_F(SaveTest, AFailedWriteKeepsEverythingAsItWas) {
    auto& w = Open();
    const auto shownBefore = w.CurrentMake();
    const std::string alphaBefore = ReadFile("alpha.txt");
    plat::fs::SetBeforeRenameHookForTests([] { return false; });
    ScriptedOperator op;
    SaveWith(op, {"1234", "2000", "300", "400"});
    op.Answer(vbYes, "overwrite")
        .Answer(vbOK, "An unknown error occurred while saving the oximeter details. Please try again later.");
    Run(op);
    EXPECT_EQ(ReadFile("alpha.txt"), alphaBefore);
    EXPECT_EQ(w.CurrentMake(), shownBefore);
    EXPECT_EQ(w.CurrentMake()->RedDC(), 1000);
    EXPECT_EQ(w.Makes()->Item("Alpha"), shownBefore);
    EXPECT_EQ(Picker().Text(), "Alpha");
    EXPECT_EQ(Box("txtRDC").Text(), "1234");
    EXPECT_TRUE(SaveButton().Enabled());

    // Under a new name: nothing joins the list or the picker, and the make shown stays.
    op.Do("frmCustomRcurve", "click Save", [this](plat::ui::Form&) { SaveButton().Click(); })
        .Answer(vbNo, "overwrite");
    AcceptNewName(op, "Gamma", "gamma.txt");
    op.Answer(vbOK, "An unknown error occurred");
    Run(op);
    EXPECT_FALSE(plat::fs::FileExists(folder_ + "gamma.txt"));
    EXPECT_EQ(PickerEntries(), (std::vector<std::string>{"Alpha", "Beta"}));
    EXPECT_EQ(w.Makes()->Count(), 2);
    EXPECT_EQ(w.CurrentMake(), shownBefore);
    EXPECT_EQ(Picker().Text(), "Alpha");
    EXPECT_TRUE(SaveButton().Enabled());
}

TEST_F(SaveTest, DecliningBothQuestionsSavesNothing) {
    auto& w = Open();
    ScriptedOperator op;
    SaveWith(op, {"1", "2", "3", "4"});
    op.Answer(vbNo, "overwrite");
    RefuseNewName(op);
    Run(op);
    EXPECT_EQ(op.Messages().size(), 1u);
    EXPECT_EQ(ReadBack("alpha.txt")->RedDC(), 1000);
    EXPECT_EQ(w.CurrentMake()->RedDC(), 1000);
}

TEST_F(SaveTest, ANewNameNeverTakesAnotherMakesFile) {
    auto& w = Open();
    const std::string betaBefore = ReadFile("beta.txt");
    ScriptedOperator op;
    SaveWith(op, {"1", "2", "3", "4"});
    op.Answer(vbNo, "overwrite")
        .Type("FSaveMake", "tbOximeter", "Gamma")
        .Type("FSaveMake", "tbOximeterFile", "BETA")
        .Click("FSaveMake", "cmdAccept")
        .Answer(vbOK);  // the dialog refuses the file of a listed make
    RefuseNewName(op);
    Run(op);
    EXPECT_EQ(ReadFile("beta.txt"), betaBefore);
    EXPECT_EQ(w.Makes()->Count(), 2);
    EXPECT_TRUE(SaveButton().Enabled());
}

}  // namespace
}  // namespace editor_test
