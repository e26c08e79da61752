#pragma once
// The seam through which limits make their dialog: the limit dialog, which
// edits the limits with the rows of the owner's test type. Until a maker is
// installed limits have no dialog to give (CreateDialog gives nothing).

#include <cstdint>
#include <functional>
#include <memory>

#include "host/test_element.h"
#include "host/ui_interfaces.h"

namespace plugin {

using LimitDialogMaker =
    std::function<std::shared_ptr<host::IDialog>(const std::shared_ptr<host::ILimitData>& limits, int32_t testId)>;

// Installs the maker (an empty one removes it) and returns the one it replaces.
LimitDialogMaker SetLimitDialogMaker(LimitDialogMaker maker);
// The dialog for the limits; nullptr without a maker.
std::shared_ptr<host::IDialog> NewLimitDialog(const std::shared_ptr<host::ILimitData>& limits, int32_t testId);

}  // namespace plugin
