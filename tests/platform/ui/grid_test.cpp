#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/loop/message_loop.h"
#include "platform/ui/renderer.h"
#include "platform/ui/ui.h"
#include "tests/support/ui/recording_renderer.h"
#include "tests/support/ui/scripted_operator.h"

namespace {

using namespace plat::ui;
using plat::ui::test::ScriptedOperator;
using Log = std::vector<std::string>;

// A window with an R-value style grid: 52 rows, R values in column 2.
class FCurve : public Form {
public:
    FCurve() : Form("frmCurve") {
        tliRValue.SetRows(52);
        tliRValue.SetCols(3);
        for (int r = 1; r < 52; ++r) tliRValue.SetCellText(r, 0, std::to_string(r + 49));
        tliRValue.OnGridCellClick = [this](GridCell& cell, int32_t button) {
            log.push_back("click " + std::to_string(cell.Row()) + "," + std::to_string(cell.Col()) + " b" +
                          std::to_string(button));
            if (button == 1 && cell.Row() >= 1 && cell.Col() == 2)
                tliRValue.SetEditState(cell.Row(), cell.Col(), GridEditState::Start);
        };
        tliRValue.OnGridCellRequestEditing = [this](GridCell& cell, int32_t& flags) {
            log.push_back("request " + std::to_string(cell.Row()));
            cell.SetEditorWidth((cell.Width() + 30) / Metrics().TwipsPerPixelX());
            flags |= 2 | 64 | 512 | 16384;
        };
        tliRValue.OnGridCellEditingChange = [this](GridCellEditor& editor) {
            log.push_back("change " + editor.Text());
            // Values above 2.5 are refused: the text before the edit comes back.
            if (!editor.Text().empty() && editor.Text() != "." && std::stod(editor.Text()) > 2.5)
                editor.SetText(editor.OldText());
        };
        tliRValue.OnGridCellAfterEditing = [this](std::string& newText, GridCell& cell) {
            log.push_back("after " + std::to_string(cell.Row()) + " " + newText);
            if (newText == ".") newText = "0";
        };
        tliRValue.OnLostFocus = [this] { tliRValue.EndEditing(); };
    }
    Grid& tliRValue = Add<Grid>("tliRValue");
    CommandButton& cmdSave = Add<CommandButton>("cmdSave");
    Log log;
};

class GridTest : public ::testing::Test {
protected:
    void SetUp() override { form_.Show(); }
    Grid& grid() { return form_.tliRValue; }
    plat::VirtualTimeScope time_;
    FCurve form_;
};

TEST_F(GridTest, ResizingKeepsTheCellsBothCountsAllowAndRefusesNegativeCounts) {
    grid().SetCellText(51, 2, "1.5");
    grid().SetCellText(2, 2, "0.7");
    grid().SetRows(3);
    EXPECT_EQ(grid().CellText(2, 2), "0.7");
    EXPECT_EQ(grid().CellText(51, 2), "");  // outside reads as empty
    grid().SetRows(52);
    EXPECT_EQ(grid().CellText(51, 2), "");  // gone with the rows
    EXPECT_EQ(grid().CellText(2, 0), "51");
    EXPECT_THROW(grid().SetCellText(52, 0, "x"), UiError);
    EXPECT_THROW(grid().SetRows(-1), UiError);
    EXPECT_THROW(grid().SetRowHeight(60, 240), UiError);
}

TEST_F(GridTest, RowPositionAndTopRowAreTwoMembersAndAnEmptyGridNeverDivides) {
    grid().SetRow(5);
    grid().SetTopRow(20);
    EXPECT_EQ(grid().Row(), 5);
    EXPECT_EQ(grid().TopRow(), 20);
    EXPECT_EQ(grid().NextRow(51), 0);
    EXPECT_EQ(grid().NextRow(5), 6);
    grid().SetRow(500);
    EXPECT_EQ(grid().Row(), 51);
    Grid empty;
    EXPECT_EQ(empty.RowTotal(), 0);
    EXPECT_EQ(empty.NextRow(7), 0);
    empty.SetRow(3);
    EXPECT_EQ(empty.Row(), 0);
}

TEST_F(GridTest, AClickStartsTheEditWhoseTypingRaisesChangesAndEnterCommits) {
    ASSERT_TRUE(grid().ClickCell(17, 2));
    ASSERT_TRUE(grid().Editing());
    EXPECT_EQ(grid().EditFlags(), 2 | 64 | 512 | 16384);
    EXPECT_EQ(grid().EditorWidthOf(17, 2), (960 + 30) / 15);
    EXPECT_EQ(grid().EditorWidthOf(16, 2), 0);
    ASSERT_TRUE(grid().TypeEditText("1.5\r"));
    EXPECT_FALSE(grid().Editing());
    EXPECT_EQ(grid().CellText(17, 2), "1.5");
    EXPECT_EQ(form_.log, (Log{"click 17,2 b1", "request 17", "change 1", "change 1.", "change 1.5", "after 17 1.5"}));
    EXPECT_TRUE(grid().HasFocus());
}

TEST_F(GridTest, TheFirstKeyReplacesTheOldTextAndACodeWrittenTextRaisesNoChange) {
    grid().SetCellText(3, 2, "0.25");
    grid().SetEditState(3, 2, GridEditState::Start);
    EXPECT_EQ(grid().EditText(), "0.25");
    EXPECT_EQ(grid().EditOldText(), "0.25");
    form_.log.clear();
    grid().TypeEditText("3");  // 3 > 2.5: the handler writes the old text back, silently
    EXPECT_EQ(grid().EditText(), "0.25");
    EXPECT_EQ(form_.log, (Log{"change 3"}));
    grid().TypeEditKey(vbKeyBack);  // the text before the key came back selected, as it was
    EXPECT_EQ(grid().EditText(), "");
}

TEST_F(GridTest, EnterOnTheWindowGoesToTheOpenCellEditorNotTheDefaultButton) {
    int saves = 0;
    form_.cmdSave.SetDefault(true);
    form_.cmdSave.OnClick = [&] { ++saves; };
    grid().ClickCell(5, 2);
    grid().TypeEditText("2");
    ASSERT_TRUE(form_.PressEnter());
    EXPECT_EQ(saves, 0);
    EXPECT_EQ(grid().CellText(5, 2), "2");
    ASSERT_TRUE(form_.PressEnter());  // no editor open now: the default button
    EXPECT_EQ(saves, 1);
}

TEST_F(GridTest, EscapeDropsTheTextWithoutAfterEditing) {
    grid().SetCellText(4, 2, "1");
    grid().ClickCell(4, 2);
    grid().TypeEditText("2\x1b");
    EXPECT_FALSE(grid().Editing());
    EXPECT_EQ(grid().CellText(4, 2), "1");
    EXPECT_EQ(std::count_if(form_.log.begin(), form_.log.end(), [](auto& s) { return s.rfind("after", 0) == 0; }), 0);
}

TEST_F(GridTest, AKeyHandlerThatMovesTheEditOnEnterIsNotOverruled) {
    // As the numeric entry does: Enter ends this edit and opens the next row's.
    grid().OnGridCellEditingKeyPress = [this](GridCellEditor& editor, int32_t& key) {
        if (key == vbKeyReturn) {
            const int32_t row = editor.Row();
            grid().SetEditState(row, 2, GridEditState::End);
            grid().SetEditState(grid().NextRow(row) == 0 ? 1 : row + 1, 2, GridEditState::Start);
        }
        if (key == 'x') key = 0;
    };
    grid().ClickCell(51, 2);
    grid().TypeEditText("2x\r");
    EXPECT_EQ(grid().CellText(51, 2), "2");
    ASSERT_TRUE(grid().Editing());
    EXPECT_EQ(grid().EditRow(), 1);  // wrapped to the first data row, still open
    EXPECT_EQ(grid().EditText(), "");
}

TEST_F(GridTest, EndEditingCommitsWhicheverCellAndNeverTheHeader) {
    grid().SetCellText(0, 0, "head");
    grid().EndEditing();  // nothing open: nothing happens
    grid().SetEditState(0, 0, GridEditState::End);
    EXPECT_EQ(grid().CellText(0, 0), "head");
    grid().SetEditState(0, 2, GridEditState::Start);  // the header row is never edited
    EXPECT_FALSE(grid().Editing());

    grid().ClickCell(9, 2);
    grid().TypeEditText(".");
    grid().SetEditState(0, 0, GridEditState::End);  // not the edited cell
    EXPECT_TRUE(grid().Editing());
    grid().EndEditing();
    EXPECT_FALSE(grid().Editing());
    EXPECT_EQ(grid().CellText(9, 2), "0");  // the after-editing handler replaced "."
    EXPECT_EQ(grid().CellText(0, 0), "head");
}

TEST_F(GridTest, APersonLeavingTheGridEndsTheEditThroughLostFocus) {
    grid().ClickCell(6, 2);
    grid().TypeEditText("1.2");
    ASSERT_TRUE(form_.cmdSave.Click());
    EXPECT_FALSE(grid().Editing());
    EXPECT_EQ(grid().CellText(6, 2), "1.2");
}

TEST_F(GridTest, ClickingAnotherCellCommitsTheOpenEdit) {
    grid().ClickCell(6, 2);
    grid().TypeEditText("1");
    grid().ClickCell(7, 0, 2);
    EXPECT_EQ(grid().CellText(6, 2), "1");
    EXPECT_FALSE(grid().Editing());
    EXPECT_EQ(form_.log.back(), "click 7,0 b2");
    EXPECT_EQ(grid().Row(), 7);
}

TEST_F(GridTest, ShrinkingAwayTheEditedCellCancelsTheEdit) {
    grid().ClickCell(40, 2);
    grid().SetRows(10);
    EXPECT_FALSE(grid().Editing());
    EXPECT_FALSE(grid().TypeEditKey('1'));
}

TEST_F(GridTest, UserActionsAreRefusedWhenUnreachable) {
    grid().SetEnabled(false);
    EXPECT_FALSE(grid().ClickCell(3, 2));
    grid().SetEnabled(true);
    grid().SetEditState(3, 2, GridEditState::Start);
    grid().SetVisible(false);
    EXPECT_FALSE(grid().TypeEditKey('1'));
    EXPECT_FALSE(grid().EnterEditText("1"));
    grid().SetVisible(true);
    EXPECT_FALSE(grid().ClickCell(52, 0));  // outside
    FCurve modal;
    ScriptedOperator op;
    op.Do("frmCurve", "click behind", [&](Form& f) {
        EXPECT_FALSE(grid().ClickCell(5, 2));
        f.Hide();
    });
    modal.Show(ShowMode::Modal);
    EXPECT_EQ(grid().EditRow(), 3);
}

TEST_F(GridTest, LooksInheritFromColumnThenGrid) {
    grid().SetColAlignment(2, 8);
    grid().SetCellAlignment(1, 2, 2);
    grid().SetCellForeColor(3, 2, vbRed);
    grid().SetCellBold(3, 2, true);
    grid().SetBackColor(vbButtonFace);
    EXPECT_EQ(grid().EffectiveAlignment(1, 2), 2);
    EXPECT_EQ(grid().EffectiveAlignment(2, 2), 8);
    EXPECT_EQ(grid().EffectiveAlignment(2, 1), 0);
    EXPECT_EQ(grid().EffectiveForeColor(3, 2), vbRed);
    EXPECT_EQ(grid().EffectiveForeColor(2, 2), vbWindowText);
    EXPECT_TRUE(grid().EffectiveBold(3, 2));
    EXPECT_EQ(grid().EffectiveBackColor(3, 2), vbButtonFace);
    EXPECT_EQ(grid().EffectiveSelectedForeColor(3, 2), vbHighlightText);
}

TEST_F(GridTest, MovingKeysKeepTheRowAmongTheDataRowsAndInView) {
    // Ten rows in view under the header: their height, the header's and the frame's 4 pixels.
    grid().Move(0, 0, 4000, 240 + 10 * 240 + 4 * 15);
    auto press = [this](int32_t key) {
        EXPECT_TRUE(grid().PressKey(key));
        return std::pair{grid().Row(), grid().TopRow()};
    };
    using Place = std::pair<int32_t, int32_t>;  // row, top row
    EXPECT_EQ(press(vbKeyDown), (Place{1, 0}));
    EXPECT_EQ(press(vbKeyPageDown), (Place{11, 2}));
    EXPECT_EQ(press(vbKeyPageDown), (Place{21, 12}));
    EXPECT_EQ(press(vbKeyPageUp), (Place{11, 11}));
    EXPECT_EQ(press(vbKeyEnd), (Place{51, 42}));
    EXPECT_EQ(press(vbKeyDown), (Place{51, 42}));
    EXPECT_EQ(press(vbKeyHome), (Place{1, 1}));
    EXPECT_EQ(press(vbKeyUp), (Place{1, 1})) << "the header row is never current by a key";
    EXPECT_EQ(press(vbKeyPageUp), (Place{1, 1}));
    // A horizontal scroll bar takes room from the rows.
    grid().SetColWidth(2, 4000);
    EXPECT_EQ(press(vbKeyPageDown), (Place{9, 2}));
    // An open editor keeps its row.
    grid().ClickCell(6, 2);
    press(vbKeyPageDown);
    EXPECT_EQ(grid().Row(), 6);
    EXPECT_TRUE(grid().Editing());
}

TEST(GridAlignment, CodesMapToOnePlacement) {
    EXPECT_EQ(AlignmentOf(2).horizontal, GridAlignment::Horizontal::Left);
    EXPECT_EQ(AlignmentOf(2).vertical, GridAlignment::Vertical::Middle);
    EXPECT_EQ(AlignmentOf(5).horizontal, GridAlignment::Horizontal::Centre);
    EXPECT_EQ(AlignmentOf(8).horizontal, GridAlignment::Horizontal::Right);
    EXPECT_EQ(AlignmentOf(9).vertical, GridAlignment::Vertical::Bottom);
    EXPECT_EQ(AlignmentOf(0).horizontal, GridAlignment::Horizontal::Left);
    EXPECT_EQ(AlignmentOf(42).vertical, GridAlignment::Vertical::Middle);
}

TEST_F(GridTest, DrawingOffHoldsBackTheRendererUntilSwitchedOn) {
    plat::ui::test::RecordingRenderer r;
    grid().SetRedraw(false);
    for (int row = 1; row < 52; ++row) grid().SetCellText(row, 2, "1.0");
    EXPECT_EQ(r.changed, 0);
    grid().SetRedraw(true);
    EXPECT_EQ(r.changed, 1);
    grid().SetRedraw(false);
    grid().SetRedraw(true);  // nothing changed meanwhile
    EXPECT_EQ(r.changed, 1);
}

TEST_F(GridTest, TheOperatorEditsACell) {
    form_.cmdSave.OnClick = [this] { form_.Hide(); };
    form_.Hide();
    ScriptedOperator op;
    op.ClickCell("frmCurve", "tliRValue", 2, 2).TypeInCell("frmCurve", "tliRValue", "0.5\r").Click("frmCurve", "cmdSave");
    form_.Show(ShowMode::Modal);
    EXPECT_EQ(grid().CellText(2, 2), "0.5");
}

}  // namespace
