#pragma once

#include "platform/ui/control.h"

namespace plat::ui {

// A container: controls placed in it share its enabled and visible state,
// and option buttons in it form their own group.
class Frame : public Control {
public:
    bool HasCaption() const override { return true; }
    bool IsContainer() const override { return true; }
};

}  // namespace plat::ui
