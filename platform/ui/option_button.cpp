#include "platform/ui/option_button.h"

#include "platform/ui/control_host.h"

namespace plat::ui {

void OptionButton::SetValue(bool on) {
    if (on == value_) return;
    if (!on) {
        value_ = false;
        NotifyChanged();
        return;
    }
    if (Host())
        for (const auto& c : Host()->Controls())
            if (auto* o = dynamic_cast<OptionButton*>(c.get());
                o && o != this && o->Container() == Container() && o->value_) {
                o->value_ = false;
                o->NotifyChanged();
            }
    value_ = true;
    NotifyChanged();
    Fire(OnClick);
}

bool OptionButton::Click() {
    if (!BeginUserAction(true)) return false;
    SetValue(true);
    return true;
}

}  // namespace plat::ui
