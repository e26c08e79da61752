#pragma once
// The seam through which an SpO2 configuration makes its dialog: the
// element-setup dialog holding the configuration view, initialised with the
// owner test. Until a maker is installed a configuration has no dialog to
// give (CreateDialog gives nothing).

#include <functional>
#include <memory>

#include "host/test_element.h"
#include "host/ui_interfaces.h"

namespace plugin {

using ConfigDialogMaker = std::function<std::shared_ptr<host::IDialog>(const host::TestElementPtr& ownerTest)>;

// Installs the maker (an empty one removes it) and returns the one it replaces.
ConfigDialogMaker SetConfigDialogMaker(ConfigDialogMaker maker);
// The dialog for the owner test; nullptr without an owner or a maker.
std::shared_ptr<host::IDialog> NewConfigDialog(const host::TestElementPtr& ownerTest);

}  // namespace plugin
