#pragma once

#include <cstdint>
#include <functional>

#include "platform/ui/control.h"

namespace plat::ui {

// Value 0 unchecked, 1 checked, 2 grayed.
class CheckBox : public Control {
public:
    bool HasCaption() const override { return true; }
    bool CanTakeFocus() const override { return true; }

    int32_t Value() const { return value_; }
    // Fires Click when the value changes. UiError outside 0..2.
    void SetValue(int32_t value);
    // User action: toggles (grayed becomes unchecked) and fires Click.
    bool Click();
    std::function<void()> OnClick;

private:
    int32_t value_ = 0;
};

}  // namespace plat::ui
