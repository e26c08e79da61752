#include "editor/r_value_grid_window.h"

#include "dialogs/numeric_grid.h"
#include "makes/make_limits.h"

namespace editor {

void RValueGridWindow::WireRValueGrid(plat::ui::Grid& grid) {
    grid.OnGridCellClick = [this](plat::ui::GridCell& cell, int32_t button) { tliRValue_GridCellClick(cell, button); };
    grid.OnGridCellRequestEditing = [](plat::ui::GridCell& cell, int32_t& flags) {
        dialogs::MGrid::Grid_RequestEditing(cell, flags);
    };
    grid.OnGridCellEditingKeyPress = [this](plat::ui::GridCellEditor& e, int32_t& key) {
        tliRValue_GridCellEditingKeyPress(e, key);
    };
    grid.OnGridCellEditingChange = [this](plat::ui::GridCellEditor& e) { tliRValue_GridCellEditingChange(e); };
    grid.OnGridCellAfterEditing = [this](std::string& text, plat::ui::GridCell& cell) {
        tliRValue_GridCellAfterEditing(text, cell);
    };
    grid.OnLostFocus = [this] { tliRValue_LostFocus(); };
}

void RValueGridWindow::CheckRValue(const plat::ui::GridCellEditor& editor) {
    dialogs::MGrid::Grid_CheckNumericValue(editor, makes::kMinRValue, makes::kMaxRValue, makes::kRValueDecimals);
}

bool RValueGridWindow::CommitRValue(std::string& newText, const plat::ui::GridCell& cell) {
    return dialogs::MGrid::Grid_CommitNumericValue(newText, cell, makes::kMinRValue, makes::kMaxRValue,
                                                   makes::kRValueDecimals);
}

}  // namespace editor
