#pragma once
// The checks both editor windows make before a make is stored, and the
// question for a new make name and file. They show nothing themselves: the
// callers show the messages and move the focus.

#include <cstdint>
#include <string>
#include <string_view>

#include "makes/make_utils.h"

namespace plat::ui {
class Grid;
class TextBox;
}

namespace editor {

// A light-value field is filled: trimmed, a non-empty run of the digits 0-9
// whose value fits a 16-bit signed integer (leading zeros allowed).
bool IsValueOK(std::string_view text);

// True when no cell of the column is empty in rows 1 to Rows()-1 (a blank is
// content); otherwise false, and BadGridRow() gives the first empty row.
bool IsGridOK(const plat::ui::Grid& grid, int32_t col);
// The row of the first empty cell the last IsGridOK found; 0 when it found none.
int32_t BadGridRow();

// The light-value boxes of an editor window in their check order: red DC,
// IR DC, IR AC, TLC.
using LightValueBoxes = std::array<plat::ui::TextBox*, 4>;
inline constexpr int32_t kMaxLightValue = 4095;

// The checks of Save in both editor windows, in their order: every box
// filled, every cell of the columns filled, every value at most 4095. The
// first that fails shows its message (critical, titled "Save"), puts the
// focus into the box or into the empty cell's opened editor, and gives false.
bool CheckMakeEntries(const LightValueBoxes& boxes, plat::ui::Grid& grid, std::initializer_list<int32_t> cols);

// Key filter of the light-value boxes: digits, Backspace, Enter and Esc
// pass; any other key is swallowed (set to 0).
void LightValueKeyPress(int32_t& keyAscii);

// A number as the windows write it back: the text's number (makes::ValText)
// in the general number form, up to 15 significant digits.
std::string NumberText(std::string_view text);

// Asks for a new make name and file in a fresh save-make dialog (FSaveMake),
// which refuses names and files that are taken. True when accepted: both texts
// are then the dialog's; otherwise they stay as given.
bool AskForFileName(std::string& fileName, std::string& makeName, const makes::MakeListPtr& allMakes);

}  // namespace editor
