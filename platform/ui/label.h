#pragma once
// A caption on a window.

#include "platform/ui/control.h"

namespace plat::ui {

class Label : public Control {
public:
    bool HasCaption() const override { return true; }
};

}  // namespace plat::ui
