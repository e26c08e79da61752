#pragma once
// The view for a control, by its kind.

#include <memory>

#include "platform/ui/control.h"

namespace plat::qt {

class ControlView;
class QtRenderer;

std::unique_ptr<ControlView> MakeView(plat::ui::Control& control, QtRenderer& renderer);

}  // namespace plat::qt
