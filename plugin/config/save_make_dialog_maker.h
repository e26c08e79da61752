#pragma once
// The seam through which the plug-in makes the save-as dialog the configuration
// uses when it stores a make carried in saved test data. Until a dialog maker
// is installed there is no dialog, and the callers take that as a refused dialog.

#include <functional>
#include <memory>

#include "dialogs/save_make_dialog_interface.h"

namespace plugin {

using SaveMakeDialogMaker = std::function<std::shared_ptr<ISaveMakeDialog>()>;

// Installs the maker (an empty one removes it) and returns the one it replaces.
SaveMakeDialogMaker SetSaveMakeDialogMaker(SaveMakeDialogMaker maker);
// A new dialog, or nullptr when no maker is installed or it fails.
std::shared_ptr<ISaveMakeDialog> NewSaveMakeDialog();

}  // namespace plugin
