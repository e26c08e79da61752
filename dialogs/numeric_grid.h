#pragma once
// Numeric entry in grid cells: the routines that a window calls from its
// grid's events to keep what is typed into a cell a number within a range and
// a number of decimals, to filter the typed keys, to move on with Enter and
// cancel with Escape, and to size the in-cell editor.
//
// One module, MGrid, in both flavours of the library. The flavours differ:
// on Enter the plug-in moves down one row in the same column, the
// editor (in a grid of four or more columns) along the row; the plug-in lets
// a decimal sign into row 3 only, the editor into any row; only the plug-in
// empties columns, and only the editor drops the in-cell editor's border.
//
//   grid.OnGridCellEditingChange = [](plat::ui::GridCellEditor& e) { MGrid::Grid_CheckNumericValue(e, 0, 100, 0); };
//   grid.OnGridCellEditingKeyPress = [&](plat::ui::GridCellEditor& e, int32_t& key) {
//       MGrid::Grid_NumericKeyPress(grid, e, key);
//   };
//   grid.OnGridCellRequestEditing = [](plat::ui::GridCell& c, int32_t& flags) { MGrid::Grid_RequestEditing(c, flags); };
//   grid.OnGridCellAfterEditing = [](std::string& text, plat::ui::GridCell& c) {
//       MGrid::Grid_CommitNumericValue(text, c, 0, 100, 0);
//   };
//
// Enter and Escape act only in Grid_NumericKeyPress; a window that filters
// keys elsewhere (a change handler) calls Grid_NumericKeyFilter, which never
// moves or ends an edit.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/ui/grid.h"
#include "platform/values/variant.h"
#include "dialogs/flavour.h"

namespace dialogs {
inline namespace ORVIK_MAKES_FLAVOUR {

namespace MGrid {

// The flags that editing requests get added.
inline constexpr int32_t kEditFlags = 2 | 64 | 512 | 16384;

// A number as the cells take it: digits with at most one decimal sign ("."
// or ","), perhaps after a "-", whose value (read as makes::ValText reads it)
// is within `lowerBound` and `upperBound` and has at most `decimals` digits
// after the sign. Blanks around it do not count. An empty Variant is a bound
// not given; a bound that is no number counts as 0.
bool Grid_IsNumericValue(std::string_view text, const plat::Variant& lowerBound = {},
                         const plat::Variant& upperBound = {}, const plat::Variant& decimals = {});

// For a change of the editor's text: puts it back to its trimmed form, or to
// the text from just before the change when it is no number the cell takes
// (Grid_IsNumericValue). A number being started ("", "-", ".", ",", "-.") passes.
void Grid_CheckNumericValue(const plat::ui::GridCellEditor& editor, const plat::Variant& lowerBound = {},
                            const plat::Variant& upperBound = {}, const plat::Variant& decimals = {});

// For the end of an edit (GridCellAfterEditing, while the cell still holds its
// text from before the edit): a new text that is no number the cell takes,
// such as a pasted word or a number only begun ("-", "."), becomes the cell's
// text from before the edit, never a number nobody typed (such as 0). A
// number is kept trimmed, and so is an empty text, which the window judges
// itself. False when the text was put back.
bool Grid_CommitNumericValue(std::string& newText, const plat::ui::GridCell& cell,
                             const plat::Variant& lowerBound = {}, const plat::Variant& upperBound = {},
                             const plat::Variant& decimals = {});

// The key filter: sets the key to 0 unless it is a digit, Backspace or an
// allowed decimal sign. Enter and Escape pass untouched and do nothing here.
void Grid_NumericKeyFilter(const plat::ui::GridCellEditor& editor, int32_t& keyAscii);

// Enter ends the edit with its text stored and starts editing the next cell;
// Escape ends it without storing; both keys pass on. Any other key goes
// through the key filter.
void Grid_NumericKeyPress(plat::ui::Grid& grid, const plat::ui::GridCellEditor& editor, int32_t& keyAscii);

// Sizes the cell's editor to the cell plus 30 twips each way and adds kEditFlags.
void Grid_RequestEditing(const plat::ui::GridCell& cell, int32_t& flags);

#ifdef ORVIK_MAKES_PLUGIN
// Empties the column in every data row.
void Grid_ClearColumnValues(plat::ui::Grid& grid, int32_t col);
#endif

}  // namespace MGrid

}  // namespace ORVIK_MAKES_FLAVOUR
}  // namespace dialogs
