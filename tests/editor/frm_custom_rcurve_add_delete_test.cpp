// Adding a make through the new R-curve dialog and deleting makes, from the
// main window's toolbar.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/editor/editor_fixture.h"

namespace editor_test {
namespace {

using plat::ui::vbNo;
using plat::ui::vbOK;
using plat::ui::vbYes;

constexpr const char* kMain = "frmCustomRcurve";
constexpr const char* kNew = "frmCreateRcurve";

class AddDeleteTest : public EditorTest {
protected:
    void TwoMakes() {
        WriteMake(SampleMake("Alpha", 1000, 1.5), "alpha.txt");
        WriteMake(SampleMake("Beta", 2000, 2.0), "beta.txt");
    }
    plat::ui::Toolbar& Bar() { return Ctl<plat::ui::Toolbar>("tbrmakeAction"); }
    // In the new R-curve dialog: readings r, r + 0.01 and r + 0.03 at every
    // step (r = SpO2 / 100), typed straight into the cells; the dialog
    // averages them on Save. Then Save, and the name question accepted.
    void AddThroughDialog(ScriptedOperator& op, const std::string& name, const std::string& file) {
        op.ClickButton(kMain, "tbrmakeAction", "Add")
            .Do(kNew, "readings", [](plat::ui::Form& form) {
                auto& grid = *form.Controls().FindAs<plat::ui::Grid>("tliRValue");
                for (int32_t row = 1; row < 52; ++row) {
                    const double r = (101 - row) / 100.0;
                    grid.SetCellText(row, 2, plat::NumberToText(r));
                    grid.SetCellText(row, 3, plat::NumberToText(r + 0.01));
                    grid.SetCellText(row, 4, plat::NumberToText(r + 0.03));
                }
                form.Controls().FindAs<plat::ui::TextBox>("txtTLC")->SetText("1234");
            })
            .Pick(kNew, "cmbLightLevel", 1)
            .Click(kNew, "cmdSave");
        AcceptNewName(op, name, file);
    }
    void LockedState(bool locked) {
        EXPECT_EQ(Bar().Button("Delete").Enabled(), !locked);
        EXPECT_EQ(Ctl<plat::ui::CommandButton>("cmdUpload").Enabled(), !locked);
        for (const char* box : {"txtRDC", "txtIRDC", "txtIRAC", "txtTLC"}) EXPECT_EQ(Box(box).Locked(), locked) << box;
        EXPECT_EQ(Ctl<plat::ui::ComboBox>("cmbLightLevel").Locked(), locked);
    }
};

TEST_F(AddDeleteTest, AddOnAnEmptyFolderStoresTheAveragedMakeAndMakesTheWindowUsable) {
    auto& w = Open();
    ScriptedOperator op;
    AddThroughDialog(op, "Hand", "hand.txt");
    Run(op);
    EXPECT_TRUE(Prompts(op).empty());

    ASSERT_NE(w.CurrentMake(), nullptr);
    EXPECT_EQ(w.CurrentMake()->Name(), "Hand");
    EXPECT_EQ(PickerEntries(), std::vector<std::string>{"Hand"});
    EXPECT_EQ(Picker().Text(), "Hand");
    EXPECT_EQ(Box("txtTLC").Text(), "1234");
    EXPECT_EQ(Box("txtRcurveFileName").Text(), "hand.txt");
    EXPECT_EQ(Ctl<plat::ui::ComboBox>("cmbLightLevel").ListIndex(), 1);
    EXPECT_EQ(RValue(50), "0.51");  // (0.5 + 0.51 + 0.53) / 3 = 0.5133
    EXPECT_EQ(RValue(100), "1.01");
    EXPECT_FALSE(SaveButton().Enabled());
    LockedState(false);

    const auto stored = ReadBack("hand.txt");
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(stored->Name(), "Hand");
    EXPECT_EQ(stored->TLC(), 1234);
    EXPECT_EQ(stored->LightLevel(), 2);
    ASSERT_EQ(stored->RCurve()->Count(), 51);
    EXPECT_EQ(stored->RCurve()->Item(1)->spo2(), 50);
    EXPECT_EQ(stored->RCurve()->Item(1)->rvalue(), "0.51");
}

TEST_F(AddDeleteTest, AddAsksAboutValidEditsAndPutsBackWhatCannotBeStored) {
    TwoMakes();
    auto& w = Open();
    ScriptedOperator op;
    // A valid edit: asked; No puts the stored values back, then the dialog opens.
    op.Do(kMain, "edit IRAC", [&](plat::ui::Form&) { Box("txtIRAC").SetText(""); })
        .Type(kMain, "txtIRAC", "301")
        .ClickButton(kMain, "tbrmakeAction", "Add")
        .Answer(vbNo, "Some of the settings have been changed. Do you want to save them before adding new oximeter make?")
        .Do(kNew, "restored under the dialog", [&](plat::ui::Form&) { EXPECT_EQ(Box("txtIRAC").Text(), "300"); })
        .Click(kNew, "cmdClose")
        .Do(kMain, "cancelled", [&](plat::ui::Form&) {
            ASSERT_NE(w.CurrentMake(), nullptr);
            EXPECT_EQ(w.CurrentMake()->Name(), "Alpha");
            EXPECT_FALSE(SaveButton().Enabled());
        })
        // RDC 100 is fine, IRAC empty is not: no question; IRAC and all after it come back.
        .Do(kMain, "edits", [&](plat::ui::Form&) {
            Box("txtRDC").SetText("100");
            Box("txtIRAC").SetText("");
            Box("txtTLC").SetText("9");
            Grid().SetCellText(1, 2, "");
        })
        .Pick(kMain, "cmbLightLevel", 1)
        .ClickButton(kMain, "tbrmakeAction", "Add")
        .Do(kNew, "partly restored", [&](plat::ui::Form&) {
            EXPECT_EQ(Box("txtRDC").Text(), "100");
            EXPECT_EQ(Box("txtIRAC").Text(), "300");
            EXPECT_EQ(Box("txtTLC").Text(), "400");
            EXPECT_EQ(RValue(50), "1.5");
            EXPECT_EQ(Ctl<plat::ui::ComboBox>("cmbLightLevel").ListIndex(), 0);
        })
        .Close(kNew);
    Run(op);
    EXPECT_EQ(op.Messages().size(), 1u);
    EXPECT_EQ(w.CurrentMake()->Name(), "Alpha");
    EXPECT_FALSE(plat::fs::FileExists(folder_ + "hand.txt"));
}

TEST_F(AddDeleteTest, AddYesWhoseSaveIsRefusedBeginsNoNewMake) {
    TwoMakes();
    auto& w = Open();
    ScriptedOperator op;
    op.Do(kMain, "edit", [&](plat::ui::Form&) { Box("txtIRAC").SetText(""); })
        .Type(kMain, "txtIRAC", "301")
        .ClickButton(kMain, "tbrmakeAction", "Add")
        .Answer(vbYes, "before adding new oximeter make")
        .Answer(vbNo, "Are you sure you want to overwrite");
    RefuseNewName(op);
    op.Do(kMain, "edits kept", [&](plat::ui::Form&) {
        EXPECT_EQ(plat::ui::FindForm(kNew), nullptr);
        EXPECT_EQ(w.CurrentMake()->Name(), "Alpha");
        EXPECT_EQ(Box("txtIRAC").Text(), "301");
        EXPECT_TRUE(SaveButton().Enabled());
    });
    Run(op);
}

TEST_F(AddDeleteTest, CancelledAddWithNoListedMakeLeavesNoCurrentMake) {
    auto& w = Open();
    ScriptedOperator op;
    op.ClickButton(kMain, "tbrmakeAction", "Add").Click(kNew, "cmdClose");
    Run(op);
    EXPECT_EQ(w.CurrentMake(), nullptr);
    LockedState(true);
    EXPECT_FALSE(Grid().Enabled());
}

TEST_F(AddDeleteTest, ANewMakeWhoseFileCannotBeWrittenStaysUnsavedUntilSaved) {
    TwoMakes();
    auto& w = Open();
    plat::fs::SetBeforeRenameHookForTests([] { return false; });
    ScriptedOperator op;
    AddThroughDialog(op, "Hand", "hand.txt");
    op.Answer(vbOK, "An unknown error occurred while saving the oximeter details.");
    Run(op);
    EXPECT_FALSE(plat::fs::FileExists(folder_ + "hand.txt"));
    ASSERT_NE(w.CurrentMake(), nullptr);
    EXPECT_EQ(w.CurrentMake()->Name(), "Hand");
    EXPECT_EQ(RValue(100), "1.01");
    EXPECT_TRUE(SaveButton().Enabled());

    // A click keeps Save; leaving it asks, and coming back finds it unsaved still.
    op.ClickCell(kMain, "tliRValue", 5, 0)
        .Do(kMain, "still unsaved", [&](plat::ui::Form&) { EXPECT_TRUE(SaveButton().Enabled()); })
        .Pick(kMain, "cmbCustomRcurve", 0)
        .Answer(vbNo, "Some of the settings have been changed")
        .Pick(kMain, "cmbCustomRcurve", 2)
        .Do(kMain, "back", [&](plat::ui::Form&) {
            EXPECT_EQ(w.CurrentMake()->Name(), "Hand");
            EXPECT_TRUE(SaveButton().Enabled());
        });
    Run(op);

    // Saved on closing once the folder takes it.
    plat::fs::SetBeforeRenameHookForTests(nullptr);
    ScriptedOperator again;
    again.Close(kMain)
        .Answer(vbYes, "Some of the settings have been changed")
        .Answer(vbYes, "overwrite")
        .Answer(vbOK, "successfully saved");
    Run(again);
    EXPECT_FALSE(w.Loaded());
    ASSERT_NE(ReadBack("hand.txt"), nullptr);
    EXPECT_EQ(ReadBack("hand.txt")->TLC(), 1234);
}

TEST_F(AddDeleteTest, DeleteRemovesFileEntryAndMakeAndEmptiesTheWindowAfterTheLast) {
    TwoMakes();
    WriteMake(SampleMake("Fixed", 3000, 1.0), "fixed.txt", /*readOnly=*/true);
    auto& w = Open();
    ScriptedOperator op;
    // A predefined make is never deleted.
    op.Pick(kMain, "cmbCustomRcurve", 2)
        .ClickButton(kMain, "tbrmakeAction", "Delete")
        .Answer(vbOK, "User can not delete pre defined custom R-Curves.")
        // No keeps everything.
        .Pick(kMain, "cmbCustomRcurve", 1)
        .ClickButton(kMain, "tbrmakeAction", "Delete")
        .Answer(vbNo, "Are you sure you want to delete this oximeter?")
        .Do(kMain, "kept", [&](plat::ui::Form&) {
            EXPECT_TRUE(plat::fs::FileExists(folder_ + "beta.txt"));
            EXPECT_EQ(PickerEntries().size(), 3u);
            // Unsaved edits of a deleted make are asked about nowhere.
            Box("txtTLC").SetText("41");
        })
        .ClickButton(kMain, "tbrmakeAction", "Delete")
        .Answer(vbYes, "Are you sure")
        .Answer(vbOK, "The oximeter was successfully deleted.")
        .Do(kMain, "beta gone", [&](plat::ui::Form&) {
            EXPECT_FALSE(plat::fs::FileExists(folder_ + "beta.txt"));
            EXPECT_EQ(PickerEntries(), (std::vector<std::string>{"Alpha", "Fixed"}));
            EXPECT_FALSE(w.Makes()->Exists("Beta"));
            EXPECT_EQ(w.CurrentMake()->Name(), "Alpha");
            EXPECT_EQ(Box("txtTLC").Text(), "400");
            EXPECT_FALSE(SaveButton().Enabled());
        })
        // Alpha, whose file is gone already, counts as deleted.
        .Do(kMain, "file gone", [&](plat::ui::Form&) { std::filesystem::remove(folder_ + "alpha.txt"); })
        .ClickButton(kMain, "tbrmakeAction", "Delete")
        .Answer(vbYes, "Are you sure")
        .Answer(vbOK, "successfully deleted");
    Run(op);
    EXPECT_EQ(PickerEntries(), std::vector<std::string>{"Fixed"});
    EXPECT_EQ(op.Messages().size(), 6u);

    // The last deletable make: the read-only bit is the only guard, so clear it first.
    plat::fs::SetReadOnly(folder_ + "fixed.txt", false);
    ScriptedOperator last;
    last.ClickButton(kMain, "tbrmakeAction", "Delete").Answer(vbYes, "Are you sure").Answer(vbOK, "successfully deleted");
    Run(last);
    EXPECT_EQ(Picker().ListCount(), 0);
    EXPECT_EQ(w.CurrentMake(), nullptr);
    EXPECT_EQ(Box("txtRDC").Text(), "");
    EXPECT_EQ(RValue(50), "");
    EXPECT_FALSE(SaveButton().Enabled());
    LockedState(true);
}

TEST_F(AddDeleteTest, AFailedDeleteKeepsTheMakeListed) {
    TwoMakes();
    auto& w = Open();
    // Something the make folder cannot unlink now stands at the make's path.
    std::filesystem::remove(folder_ + "alpha.txt");
    std::filesystem::create_directories(folder_ + "alpha.txt/inside");
    ScriptedOperator op;
    op.ClickButton(kMain, "tbrmakeAction", "Delete")
        .Answer(vbYes, "Are you sure")
        .Answer(vbOK, "The oximeter could not be deleted.");
    Run(op);
    EXPECT_EQ(op.Messages().back().Icon(), plat::ui::vbCritical);
    EXPECT_EQ(op.Messages().size(), 2u);
    EXPECT_EQ(PickerEntries(), (std::vector<std::string>{"Alpha", "Beta"}));
    ASSERT_NE(w.CurrentMake(), nullptr);
    EXPECT_EQ(w.CurrentMake()->Name(), "Alpha");
    EXPECT_TRUE(w.Makes()->Exists("Alpha"));
}

}  // namespace
}  // namespace editor_test
