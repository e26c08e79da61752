#pragma once

#include <functional>

#include "platform/ui/control.h"

namespace plat::ui {

// Option buttons of one host and one container form a group: at most one is on.
class OptionButton : public Control {
public:
    bool HasCaption() const override { return true; }
    bool CanTakeFocus() const override { return true; }

    bool Value() const { return value_; }
    // True turns the others of the group off and fires Click when it was off.
    void SetValue(bool on);
    // User action: selects it (Click fires only when it was not selected).
    bool Click();
    std::function<void()> OnClick;

private:
    bool value_ = false;
};

}  // namespace plat::ui
