// A person types into a numeric grid cell under the Qt renderer: the keys
// pass the filter, the value checks and Enter and Escape as in the core.
#include <gtest/gtest.h>

#include <QtTest/QTest>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QTableWidget>

#include "dialogs/numeric_grid.h"
#include "tests/platform/qt/qt_fixture.h"

namespace {

namespace entry = dialogs::MGrid;

using plat::ui::Grid;
using plat::ui::GridCell;
using plat::ui::GridCellEditor;
using plat::ui::GridEditState;

// Readings typed into a three-column grid: up to 100 with one decimal.
class FReadings : public plat::ui::Form {
public:
    FReadings() : Form("frmReadings") {
        SetInnerSize(6000, 3600);
        grid.Move(120, 120, 5700, 3300);
        grid.SetRows(7);
        grid.SetCols(3);
        grid.SetCellText(4, 1, "5");
        grid.OnGridCellRequestEditing = [](GridCell& cell, int32_t& flags) { entry::Grid_RequestEditing(cell, flags); };
        grid.OnGridCellEditingChange = [](GridCellEditor& editor) { entry::Grid_CheckNumericValue(editor, 0, 100, 1); };
        grid.OnGridCellEditingKeyPress = [this](GridCellEditor& editor, int32_t& key) {
            entry::Grid_NumericKeyPress(grid, editor, key);
        };
    }
    Grid& grid = Add<Grid>("grid");
};

class NumericGridRenderTest : public qt_test::RendererFixture {
protected:
    void SetUp() override {
        form.Show();
        Settle();
    }
    QLineEdit* Editor() {
        auto* table = Widget<QTableWidget>(form.grid);
        return table ? table->viewport()->findChild<QLineEdit*>() : nullptr;
    }
    FReadings form;
};

TEST_F(NumericGridRenderTest, TypedReadingsAreFilteredCheckedAndEnterMovesDown) {
    form.grid.SetEditState(2, 1, GridEditState::Start);
    Settle();
    QLineEdit* editor = Editor();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "9x7");
    Settle();
    EXPECT_EQ(form.grid.EditText(), "97");
    QTest::keyClick(editor, Qt::Key_Return);
    Settle();
    EXPECT_EQ(form.grid.CellText(2, 1), "97");
    ASSERT_TRUE(form.grid.Editing());
    EXPECT_EQ(form.grid.EditRow(), 3);  // three columns: down the column in both programs
    EXPECT_EQ(form.grid.EditCol(), 1);

    // A key that takes the value above the bound is refused; Escape puts back what the cell held.
    form.grid.SetEditState(4, 1, GridEditState::Start);
    Settle();
    editor = Editor();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "1000");
    Settle();
    EXPECT_EQ(form.grid.EditText(), "100");
    EXPECT_EQ(editor->text().toStdString(), "100");
    QTest::keyClick(editor, Qt::Key_Escape);
    Settle();
    EXPECT_FALSE(form.grid.Editing());
    EXPECT_EQ(form.grid.CellText(4, 1), "5");
}

TEST_F(NumericGridRenderTest, ADecimalSignGoesWhereTheProgramTakesIt) {
    form.grid.SetCellText(3, 1, "3");
    form.grid.SetEditState(2, 1, GridEditState::Start);
    Settle();
    QLineEdit* editor = Editor();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "7,5");
    QTest::keyClick(editor, Qt::Key_Return);
    Settle();
#ifdef ORVIK_MAKES_PLUGIN
    EXPECT_EQ(form.grid.CellText(2, 1), "75");  // fractions only in row 3
#else
    EXPECT_EQ(form.grid.CellText(2, 1), "7,5");
#endif
    editor = Editor();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "7.2");
    Settle();
    EXPECT_EQ(form.grid.EditText(), "7.2");
    QTest::keyClicks(editor, "5");  // one decimal at most: the key is refused
    QTest::keyClick(editor, Qt::Key_Return);
    Settle();
    EXPECT_EQ(form.grid.CellText(3, 1), "7.2");
}

}  // namespace
