#pragma once
// A window of the editor whose grid takes R values: its cells are typed
// through the numeric grid entry within a make's R-value range (0 to 2.5, two
// decimals). The window gives the grid's handlers and wires them once, in its
// constructor:
//
//   class frmExample : public plat::ui::Form, private RValueGridWindow {
//       frmExample() { WireRValueGrid(tliRValue); }
//       void tliRValue_GridCellEditingChange(plat::ui::GridCellEditor& e) override { CheckRValue(e); }
//       ...
//   };

#include <cstdint>
#include <string>

#include "platform/ui/grid.h"

namespace editor {

class RValueGridWindow {
public:
    virtual ~RValueGridWindow() = default;

protected:
    // The grid's click, editing-key, editing-change, after-editing and
    // lost-focus events to the handlers below; its edit requests size the
    // in-cell editor.
    void WireRValueGrid(plat::ui::Grid& grid);
    // Grid_CheckNumericValue and Grid_CommitNumericValue with the R-value range.
    static void CheckRValue(const plat::ui::GridCellEditor& editor);
    static bool CommitRValue(std::string& newText, const plat::ui::GridCell& cell);

private:
    virtual void tliRValue_GridCellClick(plat::ui::GridCell& cell, int32_t button) = 0;
    virtual void tliRValue_GridCellEditingKeyPress(plat::ui::GridCellEditor& editor, int32_t& keyAscii) = 0;
    virtual void tliRValue_GridCellEditingChange(plat::ui::GridCellEditor& editor) = 0;
    virtual void tliRValue_GridCellAfterEditing(std::string& newText, plat::ui::GridCell& cell) = 0;
    virtual void tliRValue_LostFocus() = 0;
};

}  // namespace editor
