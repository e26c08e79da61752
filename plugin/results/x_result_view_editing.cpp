// Entry of the SpO2 and BPM readings into the SpO2 test's results grid.
#include <optional>

#include "platform/values/pass_over.h"
#include "platform/values/text.h"
#include "dialogs/numeric_grid.h"
#include "plugin/results/x_result_view.h"
#include "plugin/shell/test_kind.h"

namespace plugin {

namespace {

namespace MGrid = dialogs::MGrid;

constexpr int32_t kValueCol = 2;
constexpr int32_t kEnter = 13;
constexpr int32_t kMaxReading = 1000;

// A reading as the cell shows it: a whole number 0 to 1000 of plain digits,
// without leading zeros; nullopt for any other text ("abc", "1e3", "&H3E8", "-").
std::optional<std::string> ReadingText(const std::string& text) {
    if (text.empty()) return std::nullopt;
    int32_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > kMaxReading) return std::nullopt;
    }
    return std::to_string(value);
}

}  // namespace

void XResultView::SetEditMode(bool editable) {
    editMode_ = editable;
    if (!editable) {
        LeaveEditing();
        return;
    }
    plat::PassOver([&] { tlstGrid.SetTopRow(0); });
    // Only the readings of a test the operator reads are typed.
    if (!HasTypedReadings(TestID()) || tlstGrid.Rows() < 2 || tlstGrid.Cols() <= kValueCol) return;
    plat::PassOver([&] { tlstGrid.SetEditState(1, kValueCol, plat::ui::GridEditState::Start); });
    // The reading typed next goes into the opened cell, wherever the focus was.
    plat::PassOver([&] {
        if (tlstGrid.Editing()) tlstGrid.SetFocus();
    });
}

void XResultView::LeaveEditing() {
    plat::PassOver([&] { tlstGrid.EndEditing(); });
    plat::PassOver([&] {
        tlstGrid.SetRow(0);
        tlstGrid.SetCol(0);
    });
}

void XResultView::EndEntry() {
    plat::PassOver([&] { tlstGrid.EndEditing(); });
}

void XResultView::tlstGrid_GridCellClick(plat::ui::GridCell& cell, int32_t button) {
    if (!HasTypedReadings(TestID()) || !editMode_ || button != 1) return;
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
    // The cell keeps what it showed unless the operator typed another reading:
    // an untouched cell (left by a click elsewhere) records nothing, and a
    // text that is no reading never becomes one.
    const std::string before = cell.Text();
    const std::string typed = plat::Trim(newText);
    newText = before;
    if (typed == plat::Trim(before)) return;
    // A reading the operator cleared is 0.
    const std::optional<std::string> reading = typed.empty() ? std::optional<std::string>("0") : ReadingText(typed);
    if (!reading || *reading == before) return;
    newText = *reading;
    plat::PassOver([&] { cell.SetText(newText); });
    EvaluateRow(cell.Row());
    FireTestResultsChangedEvent();
}

void XResultView::tlstGrid_LostFocus() {
    if (tlstGrid.Rows() >= 2) LeaveEditing();
}

}  // namespace plugin
