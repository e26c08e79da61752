#include "platform/ui/command_button.h"

#include "platform/ui/control_host.h"

namespace plat::ui {

void CommandButton::SetDefault(bool on) {
    if (on && Host())
        for (const auto& c : Host()->Controls())
            if (auto* b = dynamic_cast<CommandButton*>(c.get()); b && b != this && b->default_) {
                b->default_ = false;
                b->NotifyChanged();
            }
    if (on == default_) return;
    default_ = on;
    NotifyChanged();
}

void CommandButton::SetCancel(bool on) {
    if (on == cancel_) return;
    cancel_ = on;
    NotifyChanged();
}

bool CommandButton::Click() {
    if (!BeginUserAction(true)) return false;
    Fire(OnClick);
    return true;
}

}  // namespace plat::ui
