// Numeric grid entry in both flavours, the plug-in's and the editor's.
#include "dialogs/numeric_grid.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/loop/virtual_time_scope.h"
#include "platform/ui/ui.h"

namespace {

namespace entry = dialogs::MGrid;
#ifdef ORVIK_MAKES_PLUGIN
constexpr bool kPlugin = true;
#else
constexpr bool kPlugin = false;
#endif

using plat::ui::Grid;
using plat::ui::GridCellEditor;
using plat::ui::GridEditState;

class FGridWindow : public plat::ui::Form {
public:
    FGridWindow() : Form("frmGrid") {}
    Grid& grid = Add<Grid>("grid");
};

class NumericGridTest : public ::testing::Test {
protected:
    void SetUp() override {
        window_.Show();
        grid_.SetRows(7);
        grid_.SetCols(5);
        grid_.OnGridCellEditingKeyPress = [this](GridCellEditor& editor, int32_t& key) {
            entry::Grid_NumericKeyPress(grid_, editor, key);
        };
    }
    // Opens the cell's editor with `before` as the cell's text and `typed` as the editor's.
    std::string Checked(const std::string& before, const std::string& typed, const plat::Variant& low,
                        const plat::Variant& high, const plat::Variant& decimals = {}) {
        grid_.SetCellText(1, 1, before);
        grid_.SetEditState(1, 1, GridEditState::Start);
        grid_.SetEditText(typed);
        entry::Grid_CheckNumericValue(GridCellEditor(grid_), low, high, decimals);
        std::string result = grid_.EditText();
        grid_.SetEditState(1, 1, GridEditState::Cancel);
        return result;
    }
    int32_t Filtered(int32_t row, int32_t key) {
        grid_.SetEditState(row, 1, GridEditState::Start);
        entry::Grid_NumericKeyFilter(GridCellEditor(grid_), key);
        return key;
    }

    plat::VirtualTimeScope time_;
    FGridWindow window_;
    Grid& grid_ = window_.grid;
};

TEST_F(NumericGridTest, AValueOutsideItsBoundsPutsBackTheTextFromBefore) {
    EXPECT_EQ(Checked("50", "101", 0, 100), "50");
    EXPECT_EQ(Checked("50", "100", 0, 100), "100");
    EXPECT_EQ(Checked("50", "0", 0, 100), "0");
    EXPECT_EQ(Checked("50", "  42 ", 0, 100), "42");
    EXPECT_EQ(Checked("50", "-5", 0, 100), "50");
    // A number being started passes whatever the bounds.
    EXPECT_EQ(Checked("50", "-", 0, 100), "-");
    EXPECT_EQ(Checked("50", " . ", 0, 100), ".");
    EXPECT_EQ(Checked("50", "   ", 0, 100), "");
    // Bounds may be texts; one that is no number counts as 0.
    EXPECT_EQ(Checked("1", "7", "5", "10,5"), "7");
    EXPECT_EQ(Checked("1", "11", "5", "10,5"), "1");
    EXPECT_EQ(Checked("1", "5", {}, "abc"), "1");
    // Without bounds anything that holds a number passes, trimmed.
    EXPECT_EQ(Checked("1", " 123456 ", {}, {}), "123456");
}

TEST_F(NumericGridTest, ATextThatIsNoNumberNeitherStaysNorIsCommitted) {
    // Typed or pasted: put back at once; a number being started passes.
    for (const char* junk : {"abc", "1e3", "1e-1", "&H3E8", "1-", "1.2.3", "\xEF\xBC\x91"})
        EXPECT_EQ(Checked("5", junk, {}, {}), "5") << junk;
    EXPECT_EQ(Checked("5", "-.", 0, 100), "-.");

    // Committed: a number only begun, or one the cell does not take, puts back the cell's text.
    grid_.OnGridCellAfterEditing = [](std::string& text, plat::ui::GridCell& cell) {
        entry::Grid_CommitNumericValue(text, cell, 0, 100, 1);
    };
    auto committed = [&](const std::string& typed) {
        grid_.SetCellText(1, 1, "5");
        grid_.SetEditState(1, 1, GridEditState::Start);
        grid_.SetEditText(typed);
        grid_.SetEditState(1, 1, GridEditState::End);
        return grid_.CellText(1, 1);
    };
    for (const char* refused : {"-", ".", ",", "abc", "1e3", "101", "1.25"})
        EXPECT_EQ(committed(refused), "5") << refused;
    EXPECT_EQ(committed(" 7,5 "), "7,5");
    EXPECT_EQ(committed("  "), "");
}

TEST_F(NumericGridTest, TooManyDecimalsPutBackTheTextFromBefore) {
    EXPECT_EQ(Checked("1", "1.25", 0, 100, 1), "1");
    EXPECT_EQ(Checked("1", "1,25", 0, 100, 1), "1");
    EXPECT_EQ(Checked("1", "1.2", 0, 100, 1), "1.2");
    EXPECT_EQ(Checked("1", "1,", 0, 100, 1), "1,");
    EXPECT_EQ(Checked("1", "12", 0, 100, 0), "12");
    EXPECT_EQ(Checked("1", "1.5", 0, 100, 0), "1");
    EXPECT_EQ(Checked("1", "2.125", 0, 100, "3"), "2.125");
}

TEST_F(NumericGridTest, TheKeyFilterLetsNumbersThroughAndNeverActsOnEnterOrEscape) {
    for (int32_t key : {int32_t{'0'}, int32_t{'9'}, 8}) EXPECT_EQ(Filtered(2, key), key);
    for (int32_t key : {'a', 'Z', ' ', '-', '+'}) EXPECT_EQ(Filtered(2, key), 0);
    EXPECT_EQ(Filtered(3, '.'), '.');
    EXPECT_EQ(Filtered(3, ','), ',');
    EXPECT_EQ(Filtered(2, ','), kPlugin ? 0 : ',');
    EXPECT_EQ(Filtered(5, '.'), kPlugin ? 0 : '.');

    grid_.SetEditState(2, 1, GridEditState::Start);
    grid_.SetEditText("12");
    for (int32_t key : {13, 27}) {
        int32_t passed = key;
        entry::Grid_NumericKeyFilter(GridCellEditor(grid_), passed);
        EXPECT_EQ(passed, key);
    }
    EXPECT_TRUE(grid_.Editing());
    EXPECT_EQ(grid_.EditRow(), 2);
    EXPECT_EQ(grid_.EditText(), "12");
}

TEST_F(NumericGridTest, TypedKeysGoThroughTheFilter) {
    grid_.SetEditState(3, 2, GridEditState::Start);
    ASSERT_TRUE(grid_.TypeEditText("4x2,5"));
    EXPECT_EQ(grid_.EditText(), "42,5");
    grid_.SetEditState(2, 2, GridEditState::Start);
    ASSERT_TRUE(grid_.TypeEditText("7.5a"));
    EXPECT_EQ(grid_.EditText(), kPlugin ? "75" : "7.5");
}

TEST_F(NumericGridTest, EscapeDropsTheTypedText) {
    grid_.SetCellText(2, 1, "60");
    grid_.SetEditState(2, 1, GridEditState::Start);
    grid_.TypeEditText("99\x1b");
    EXPECT_FALSE(grid_.Editing());
    EXPECT_EQ(grid_.CellText(2, 1), "60");
}

TEST_F(NumericGridTest, EnterStoresTheTextAndMovesOn) {
    int32_t seenKey = 0;
    grid_.OnGridCellEditingKeyPress = [&](GridCellEditor& editor, int32_t& key) {
        entry::Grid_NumericKeyPress(grid_, editor, key);
        seenKey = key;
    };
    grid_.SetEditState(2, 1, GridEditState::Start);
    grid_.TypeEditText("77\r");
    EXPECT_EQ(seenKey, 13);
    EXPECT_EQ(grid_.CellText(2, 1), "77");
    ASSERT_TRUE(grid_.Editing());
    if (kPlugin) {
        // Down the same column.
        EXPECT_EQ(grid_.EditRow(), 3);
        EXPECT_EQ(grid_.EditCol(), 1);
    } else {
        // Along the row in a grid of four or more columns, from column 4 to column 2 of the next row.
        EXPECT_EQ(grid_.EditRow(), 2);
        EXPECT_EQ(grid_.EditCol(), 2);
        grid_.SetEditState(5, 4, GridEditState::Start);
        grid_.TypeEditText("1\r");
        EXPECT_EQ(grid_.EditRow(), 6);
        EXPECT_EQ(grid_.EditCol(), 2);
        EXPECT_EQ(grid_.TopRow(), 5);
    }

    // After the last data row the edit goes back to row 1.
    grid_.SetEditState(6, kPlugin ? 1 : 4, GridEditState::Start);
    grid_.TypeEditText("5\r");
    EXPECT_EQ(grid_.CellText(6, kPlugin ? 1 : 4), "5");
    EXPECT_EQ(grid_.EditRow(), 1);
    EXPECT_EQ(grid_.EditCol(), kPlugin ? 1 : 2);
    EXPECT_EQ(grid_.TopRow(), kPlugin ? 1 : 0);
}

#ifndef ORVIK_MAKES_PLUGIN
TEST_F(NumericGridTest, TheEditorsEnterGoesDownInANarrowGrid) {
    grid_.SetCols(3);
    grid_.SetEditState(2, 2, GridEditState::Start);
    grid_.TypeEditText("3\r");
    EXPECT_EQ(grid_.EditRow(), 3);
    EXPECT_EQ(grid_.EditCol(), 2);
    EXPECT_EQ(grid_.TopRow(), 2);
}
#endif

TEST_F(NumericGridTest, EditingStartsWithAnEditorTheSizeOfTheCellAndTheFlagsAdded) {
    grid_.SetColWidth(2, 1200);
    grid_.SetRowHeight(3, 285);
    int32_t flags = 1;
    entry::Grid_RequestEditing(grid_.Cell(3, 2), flags);
    EXPECT_EQ(flags, 1 | 2 | 64 | 512 | 16384);
    EXPECT_EQ(grid_.EditorWidthOf(3, 2), (1200 + 30) / 15);
    EXPECT_EQ(grid_.EditorHeightOf(3, 2), (285 + 30) / 15);
    EXPECT_EQ(grid_.EditorBorderStyleOf(3, 2) == 0, !kPlugin);
}

#ifdef ORVIK_MAKES_PLUGIN
TEST_F(NumericGridTest, ClearingAColumnEmptiesItsDataRowsOnly) {
    for (int32_t row = 0; row < grid_.Rows(); ++row) {
        grid_.SetCellText(row, 1, "r" + std::to_string(row));
        grid_.SetCellText(row, 2, "keep");
    }
    entry::Grid_ClearColumnValues(grid_, 1);
    EXPECT_EQ(grid_.CellText(0, 1), "r0");
    for (int32_t row = 1; row < grid_.Rows(); ++row) {
        EXPECT_EQ(grid_.CellText(row, 1), "");
        EXPECT_EQ(grid_.CellText(row, 2), "keep");
    }
}
#endif

}  // namespace
