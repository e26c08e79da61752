#pragma once
// The checks both editor windows make before a make is stored, and the
// question for a new make name and file. They show nothing themselves: the
// callers show the messages and move the focus.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "makes/make_utils.h"

namespace plat::ui {
class Grid;
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

// A number as the windows write it back: the text's number (makes::ValText)
// in the general number form, up to 15 significant digits.
std::string NumberText(std::string_view text);

// The save-make dialog as the editor uses it.
class ISaveMakeDialog {
public:
    static constexpr int32_t kAccepted = 6;

    virtual ~ISaveMakeDialog() = default;
    // The makes whose names and files are taken, and the name of the make.
    virtual void Initialize(const makes::MakeListPtr& allMakes, const std::string& makeName) = 0;
    // Shows the dialog modally; returns when it hides.
    virtual void ShowModal() = 0;
    // kAccepted after OK; anything else is a refusal.
    virtual int32_t Response() const = 0;
    virtual std::string OximeterName() const = 0;
    virtual std::string Filename() const = 0;
    virtual void Unload() = 0;
};

using SaveMakeDialogMaker = std::function<std::shared_ptr<ISaveMakeDialog>()>;
// Installs the maker of the dialog (an empty one removes it) and returns the
// one it replaces. Without a maker there is no dialog and every question for
// a new name counts as refused.
SaveMakeDialogMaker SetSaveMakeDialogMaker(SaveMakeDialogMaker maker);

// Asks for a new make name and file in a fresh save-make dialog. True when
// accepted: both texts are then the dialog's; otherwise they stay as given.
bool AskForFileName(std::string& fileName, std::string& makeName, const makes::MakeListPtr& allMakes);

}  // namespace editor
