#pragma once

#include <functional>

#include "platform/ui/control.h"

namespace plat::ui {

class CommandButton : public Control {
public:
    bool HasCaption() const override { return true; }
    bool CanTakeFocus() const override { return true; }

    // The button that Enter clicks; setting it clears the flag on the host's other buttons.
    bool Default() const { return default_; }
    void SetDefault(bool on);
    // The button that Esc clicks.
    bool Cancel() const { return cancel_; }
    void SetCancel(bool on);

    // User action: focus to the button, then Click.
    bool Click();
    std::function<void()> OnClick;

private:
    bool default_ = false;
    bool cancel_ = false;
};

}  // namespace plat::ui
