// Entry of the SpO2 and BPM readings into a test-100 results grid.
#include "platform/values/pass_over.h"
#include "plugin/config/dialogs/numeric_grid.h"
#include "plugin/results/x_result_view.h"

namespace plugin {

namespace {

namespace MGrid = dialogs::MGrid;

constexpr int32_t kSpO2Test = 100;
constexpr int32_t kValueCol = 2;
constexpr int32_t kEnter = 13;

}  // namespace

void XResultView::SetEditMode(bool editable) {
    editMode_ = editable;
    if (!editable) {
        LeaveEditing();
        return;
    }
    plat::PassOver([&] { tlstGrid.SetTopRow(0); });
    // Only the readings of a test-100 grid are typed.
    if (TestID() != kSpO2Test || tlstGrid.Rows() < 2 || tlstGrid.Cols() <= kValueCol) return;
    plat::PassOver([&] { tlstGrid.SetEditState(1, kValueCol, plat::ui::GridEditState::Start); });
}

void XResultView::LeaveEditing() {
    plat::PassOver([&] { tlstGrid.EndEditing(); });
    plat::PassOver([&] {
        tlstGrid.SetRow(0);
        tlstGrid.SetCol(0);
    });
}

void XResultView::tlstGrid_GridCellClick(plat::ui::GridCell& cell, int32_t button) {
    if (TestID() != kSpO2Test || !editMode_ || button != 1) return;
    if (cell.Row() < 1 || cell.Col() != kValueCol) return;
    plat::PassOver([&] { tlstGrid.SetEditState(cell.Row(), kValueCol, plat::ui::GridEditState::Start); });
}

void XResultView::tlstGrid_GridCellRequestEditing(plat::ui::GridCell& cell, int32_t& flags) {
    plat::PassOver([&] { MGrid::Grid_RequestEditing(cell, flags); });
}

void XResultView::tlstGrid_GridCellEditingKeyPress(plat::ui::GridCellEditor& editor, int32_t& keyAscii) {
    // Enter moves the editor on: the row it was pressed in is read first.
    const int32_t row = editor.Row();
    plat::PassOver([&] { MGrid::Grid_NumericKeyPress(tlstGrid, editor, keyAscii); });
    if (keyAscii != kEnter) return;
    lastRowEnter_ = row == tlstGrid.Rows() - 1;
    FireTestResultsChangedEvent();
}

void XResultView::tlstGrid_GridCellEditingChange(plat::ui::GridCellEditor& editor) {
    MGrid::Grid_CheckNumericValue(editor, plat::Variant(0), plat::Variant(1000), plat::Variant(0));
}

void XResultView::tlstGrid_GridCellAfterEditing(std::string& newText, plat::ui::GridCell& cell) {
    if (newText == "-" || newText == "." || newText.empty()) newText = "0";
    plat::PassOver([&] { cell.SetText(newText); });
    EvaluateRow(cell.Row());
    FireTestResultsChangedEvent();
}

void XResultView::tlstGrid_LostFocus() {
    if (tlstGrid.Rows() >= 2) LeaveEditing();
}

}  // namespace plugin
