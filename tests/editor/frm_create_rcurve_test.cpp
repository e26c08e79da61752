// The new R-curve dialog: defaults, averaging of the readings, the checks of
// Save in their order, the make it hands back, and every way out but Save
// counting as a cancel.
#include <gtest/gtest.h>

#include "editor/frm_create_rcurve.h"
#include "tests/editor/editor_fixture.h"

namespace editor_test {
namespace {

using plat::ui::vbOK;

constexpr const char* kDialog = "frmCreateRcurve";

class CreateRcurveTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        make_ = std::make_shared<makes::COximeterMake>();
        dialog_ = std::make_shared<editor::frmCreateRcurve>();
        dialog_->Init(makes_, make_);
    }
    void TearDown() override {
        if (dialog_->Loaded()) dialog_->Unload();
        EditorTest::TearDown();
    }
    // Shows the dialog modally; the operator's steps run meanwhile.
    void ShowDialog(ScriptedOperator&) { dialog_->Show(plat::ui::ShowMode::Modal); }

    plat::ui::Grid& DGrid() { return *dialog_->Controls().FindAs<plat::ui::Grid>("tliRValue"); }
    plat::ui::TextBox& DBox(const std::string& name) { return *dialog_->Controls().FindAs<plat::ui::TextBox>(name); }
    // Row of an SpO2 value: 100 is row 1, 50 row 51.
    static int32_t Row(int32_t spo2) { return 101 - spo2; }
    // Fills every reading straight into the grid, as if typed: r = `base` + SpO2/100.
    static void FillReadings(plat::ui::Grid& grid) {
        for (int32_t row = 1; row < 52; ++row)
            for (int32_t col = 2; col <= 4; ++col) grid.SetCellText(row, col, plat::NumberToText((101 - row) / 100.0));
    }
    void FillReadings() { FillReadings(DGrid()); }

    makes::MakeListPtr makes_ = std::make_shared<makes::MakeList>();
    makes::OximeterMakePtr make_;
    std::shared_ptr<editor::frmCreateRcurve> dialog_;
};

TEST_F(CreateRcurveTest, OpensWithDefaultsAndTheSpO2Steps) {
    ScriptedOperator op;
    op.Do(kDialog, "look", [&](plat::ui::Form& form) {
        EXPECT_EQ(form.Caption(), "Tamblin");
        EXPECT_EQ(DBox("txtRDC").Text(), "3500");
        EXPECT_EQ(DBox("txtIRDC").Text(), "3500");
        EXPECT_EQ(DBox("txtIRAC").Text(), "1000");
        EXPECT_EQ(DBox("txtTLC").Text(), "3500");
        auto& level = *form.Controls().FindAs<plat::ui::ComboBox>("cmbLightLevel");
        EXPECT_EQ(level.ListCount(), 2);
        EXPECT_EQ(level.Text(), "Medium");
        EXPECT_EQ(DGrid().Rows(), 52);
        EXPECT_EQ(DGrid().Cols(), 6);
        EXPECT_EQ(DGrid().CellText(0, 2), "Value #1");
        EXPECT_EQ(DGrid().CellText(0, 4), "Value #3");
        EXPECT_EQ(DGrid().CellText(0, 5), "Avg. Value");
        EXPECT_EQ(DGrid().CellText(1, 0), "100");
        EXPECT_EQ(DGrid().CellText(51, 0), "50");
        const auto* help = form.Controls().FindAs<plat::ui::Label>("lblHelpMsg2");
        EXPECT_EQ(help->Caption().rfind("1. Set up the Pulse Oximeter", 0), 0u);
        EXPECT_NE(help->Caption().find("\r\n\r\n2. From the Pelmo Q5\r\n       (i) 'Main Menu 1'"), std::string::npos);
        EXPECT_NE(help->Caption().find("\r\n               SpO2 = 100%\r\n"), std::string::npos);
        EXPECT_EQ(help->Caption().substr(help->Caption().size() - 21), "new oximeter details.");
    });
    op.Click(kDialog, "cmdClose");
    ShowDialog(op);
    EXPECT_TRUE(dialog_->CancelClicked());
}

TEST_F(CreateRcurveTest, ARefusedKeyKeepsTheReadingTypedSoFar) {
    ScriptedOperator op;
    op.ClickCell(kDialog, "tliRValue", Row(100), 2)
        .TypeInCell(kDialog, "tliRValue", "1.615")
        .Do(kDialog, "a third decimal", [&](plat::ui::Form&) { EXPECT_EQ(DGrid().EditText(), "1.61"); })
        .TypeInCell(kDialog, "tliRValue", "\r")
        .Do(kDialog, "committed", [&](plat::ui::Form&) {
            EXPECT_EQ(DGrid().CellText(Row(100), 2), "1.61");
            EXPECT_EQ(DGrid().CellText(Row(100), 5), "1.61");
        })
        // Out of range and three decimals are still refused while typing.
        .TypeInCell(kDialog, "tliRValue", "2.51")
        .Do(kDialog, "above 2.5", [&](plat::ui::Form&) { EXPECT_EQ(DGrid().EditText(), "2.5"); })
        .PressKey(kDialog, "tliRValue", 'A', plat::ui::vbCtrlMask)
        .TypeInCell(kDialog, "tliRValue", "0.123")
        .Do(kDialog, "three decimals", [&](plat::ui::Form&) { EXPECT_EQ(DGrid().EditText(), "0.12"); })
        .Click(kDialog, "cmdClose");
    ShowDialog(op);
}

TEST_F(CreateRcurveTest, AveragesTheReadingsOfTheEditedRow) {
    ScriptedOperator op;
    op.ClickCell(kDialog, "tliRValue", Row(100), 2)
        .TypeInCell(kDialog, "tliRValue", "0,51\r")
        .Do(kDialog, "one reading", [&](plat::ui::Form&) {
            EXPECT_EQ(DGrid().CellText(1, 2), "0.51");  // normalised
            EXPECT_EQ(DGrid().CellText(1, 5), "0.51");
            // Enter moved along the row.
            EXPECT_EQ(DGrid().EditRow(), 1);
            EXPECT_EQ(DGrid().EditCol(), 3);
        })
        .TypeInCell(kDialog, "tliRValue", "0.52\r0.54\r")
        .Do(kDialog, "three readings", [&](plat::ui::Form&) {
            EXPECT_EQ(DGrid().CellText(1, 5), "0.52");
            // After column 4 the first reading of the next row.
            EXPECT_EQ(DGrid().EditRow(), 2);
            EXPECT_EQ(DGrid().EditCol(), 2);
        })
        .TypeInCell(kDialog, "tliRValue", "1\r2\r2\r")
        .Do(kDialog, "rounded to two decimals", [&](plat::ui::Form&) { EXPECT_EQ(DGrid().CellText(2, 5), "1.67"); })
        .TypeInCell(kDialog, "tliRValue", ".\r")
        .Do(kDialog, "a lone point", [&](plat::ui::Form&) {
            EXPECT_EQ(DGrid().CellText(3, 2), "");  // no number: the value from before
            EXPECT_EQ(DGrid().CellText(3, 5), "");
        })
        // A key that takes a reading out of range is refused.
        .TypeInCell(kDialog, "tliRValue", "2.6")
        .Do(kDialog, "out of range", [&](plat::ui::Form&) { EXPECT_EQ(DGrid().EditText(), "2."); })
        .PressEscape(kDialog)
        // Emptying the only reading of row 1's first column keeps the average of the others;
        // emptying all of a row keeps what the average showed.
        .ClickCell(kDialog, "tliRValue", Row(99), 2)
        .Do(kDialog, "empty", [&](plat::ui::Form&) { DGrid().EnterEditText(""); })
        .TypeInCell(kDialog, "tliRValue", "\r")
        .Do(kDialog, "two left", [&](plat::ui::Form&) { EXPECT_EQ(DGrid().CellText(2, 5), "2"); })
        .Do(kDialog, "empty", [&](plat::ui::Form&) { DGrid().EnterEditText(""); })
        .TypeInCell(kDialog, "tliRValue", "\r")
        .Do(kDialog, "empty", [&](plat::ui::Form&) { DGrid().EnterEditText(""); })
        .TypeInCell(kDialog, "tliRValue", "\r")
        .Do(kDialog, "none left", [&](plat::ui::Form&) { EXPECT_EQ(DGrid().CellText(2, 5), "2"); })
        // The SpO2 and average columns take no edits, nor does another mouse button.
        .PressEscape(kDialog)
        .ClickCell(kDialog, "tliRValue", 5, 5)
        .ClickCell(kDialog, "tliRValue", 5, 0)
        .ClickCell(kDialog, "tliRValue", 5, 2, 2)
        .Do(kDialog, "nothing open", [&](plat::ui::Form&) { EXPECT_FALSE(DGrid().Editing()); })
        // An exact half rounds away from zero.
        .ClickCell(kDialog, "tliRValue", Row(90), 2)
        .TypeInCell(kDialog, "tliRValue", "0.12\r0.13\r")
        .Do(kDialog, "half", [&](plat::ui::Form&) { EXPECT_EQ(DGrid().CellText(Row(90), 5), "0.13"); })
        .PressEscape(kDialog)
        // Enter in the last reading of SpO2 50 goes round to SpO2 100.
        .ClickCell(kDialog, "tliRValue", Row(50), 4)
        .TypeInCell(kDialog, "tliRValue", "1\r")
        .Do(kDialog, "wrapped", [&](plat::ui::Form&) {
            EXPECT_EQ(DGrid().EditRow(), 1);
            EXPECT_EQ(DGrid().EditCol(), 2);
        })
        .PressEscape(kDialog)
        .Click(kDialog, "cmdClose");
    ShowDialog(op);
}

TEST_F(CreateRcurveTest, SaveChecksInOrderAndStaysOpenOnEachRefusal) {
    ScriptedOperator op;
    op.Do(kDialog, "empty RDC, missing reading", [&](plat::ui::Form&) {
          FillReadings();
          DGrid().SetCellText(Row(84), 3, "");
          DBox("txtRDC").SetText(" ");
      })
        .Click(kDialog, "cmdSave")
        .Answer(vbOK, "All oximeter parameters must be filled.")
        .Do(kDialog, "RDC refused", [&](plat::ui::Form&) {
            EXPECT_TRUE(DBox("txtRDC").HasFocus());
            DBox("txtRDC").SetText("4095");
            DBox("txtTLC").SetText("40000");  // no 16-bit number: not filled
        })
        .Click(kDialog, "cmdSave")
        .Answer(vbOK, "All oximeter parameters must be filled.")
        .Do(kDialog, "TLC refused", [&](plat::ui::Form&) {
            EXPECT_TRUE(DBox("txtTLC").HasFocus());
            DBox("txtTLC").SetText("4096");
        })
        .Click(kDialog, "cmdSave")
        .Answer(vbOK, "All oximeter parameters must be filled.")
        .Do(kDialog, "the empty reading opened", [&](plat::ui::Form&) {
            EXPECT_TRUE(DGrid().Editing());
            EXPECT_EQ(DGrid().EditRow(), Row(84));
            EXPECT_EQ(DGrid().EditCol(), 3);
            EXPECT_TRUE(DGrid().HasFocus());  // what is typed next goes into the cell
            DGrid().EnterEditText("0.84");
        })
        .Click(kDialog, "cmdSave")
        .Answer(vbOK, "TLC value can not be greater than 4095.")
        .Do(kDialog, "TLC too large", [&](plat::ui::Form&) {
            EXPECT_TRUE(DBox("txtTLC").HasFocus());
            DBox("txtTLC").SetText("4095");
        })
        .Click(kDialog, "cmdSave");
    RefuseNewName(op);
    op.Do(kDialog, "name question cancelled: still open", [&](plat::ui::Form& form) {
            EXPECT_TRUE(form.Visible());
            EXPECT_EQ(make_->Name(), makes::DefaultMakeName());
            EXPECT_EQ(make_->RCurve()->Count(), 0);
        })
        .Click(kDialog, "cmdSave");
    AcceptNewName(op, "Hand", "hand.txt");
    ShowDialog(op);
    EXPECT_FALSE(dialog_->CancelClicked());
    EXPECT_EQ(make_->Name(), "Hand");
    EXPECT_EQ(make_->File(), "hand.txt");
    EXPECT_EQ(make_->RedDC(), 4095);
    EXPECT_EQ(make_->TLC(), 4095);
    EXPECT_EQ(make_->IRDC(), 3500);
    EXPECT_EQ(make_->IRAC(), 1000);
    EXPECT_EQ(make_->LightLevel(), 1);
}

TEST_F(CreateRcurveTest, SavedCurveRunsFromSpO2FiftyWithAveragesWorkedOutAgain) {
    ScriptedOperator op;
    op.Do(kDialog, "readings", [&](plat::ui::Form&) {
          FillReadings();
          // Typed straight into the cells: no average shown yet, and one reading
          // left open in its editor.
          DGrid().SetCellText(Row(60), 2, "0.5");
          DGrid().SetCellText(Row(60), 3, "0.6");
          DGrid().SetCellText(Row(60), 4, "1,01");
      })
        .Pick(kDialog, "cmbLightLevel", 1)
        .ClickCell(kDialog, "tliRValue", Row(70), 4)
        .TypeInCell(kDialog, "tliRValue", "2.5")
        .Click(kDialog, "cmdSave");
    AcceptNewName(op, "Hand", "hand.txt");
    ShowDialog(op);
    ASSERT_FALSE(dialog_->CancelClicked());
    const auto& curve = make_->RCurve();
    ASSERT_EQ(curve->Count(), 51);
    EXPECT_EQ(curve->Item(1)->spo2(), 50);
    EXPECT_EQ(curve->Item(1)->rvalue(), "0.5");
    EXPECT_EQ(curve->Item(51)->spo2(), 100);
    EXPECT_EQ(curve->Item(51)->rvalue(), "1");
    EXPECT_EQ(curve->Item(11)->rvalue(), "0.7");                        // (0.5 + 0.6 + 1.01) / 3 = 0.7033
    EXPECT_EQ(curve->Item(21)->rvalue(), plat::NumberToText(1.3));      // (0.7 + 0.7 + 2.5) / 3
    EXPECT_EQ(make_->LightLevel(), 2);
}

TEST_F(CreateRcurveTest, EveryWayOutButSaveLeavesTheMakeAlone) {
    for (int way = 0; way < 2; ++way) {
        auto dialog = std::make_shared<editor::frmCreateRcurve>();
        dialog->Init(makes_, make_);
        ScriptedOperator op;
        op.Do(kDialog, "fill", [&](plat::ui::Form&) { FillReadings(*dialog->Controls().FindAs<plat::ui::Grid>("tliRValue")); });
        if (way == 0)
            op.Close(kDialog);
        else
            op.PressEscape(kDialog);
        dialog->Show(plat::ui::ShowMode::Modal);
        EXPECT_TRUE(dialog->CancelClicked()) << way;
        EXPECT_EQ(make_->Name(), makes::DefaultMakeName()) << way;
        if (dialog->Loaded()) dialog->Unload();
    }
}

}  // namespace
}  // namespace editor_test
