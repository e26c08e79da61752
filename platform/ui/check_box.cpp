#include "platform/ui/check_box.h"


namespace plat::ui {

void CheckBox::SetValue(int32_t value) {
    if (value < 0 || value > 2) throw UiError("A check box value is 0, 1 or 2, not " + std::to_string(value));
    if (value == value_) return;
    value_ = value;
    NotifyChanged();
    Fire(OnClick);
}

bool CheckBox::Click() {
    if (!BeginUserAction(true)) return false;
    value_ = value_ == 0 ? 1 : 0;
    NotifyChanged();
    Fire(OnClick);
    return true;
}

}  // namespace plat::ui
