#include "platform/ui/user_control.h"

#include "platform/ui/form.h"
#include "platform/ui/renderer.h"

namespace plat::ui {

UserControl::~UserControl() { Destroying(); }

void UserControl::SetEnabled(bool on) {
    if (on == enabled_) return;
    enabled_ = on;
    NotifyHostChanged();
}

void UserControl::SetBackColor(Color color) {
    if (color == backColor_) return;
    backColor_ = color;
    NotifyHostChanged();
}

Form* UserControl::ParentForm() const {
    ControlHost* host = site_ ? site_->Host() : nullptr;
    if (auto* form = dynamic_cast<Form*>(host)) return form;
    if (auto* uc = dynamic_cast<UserControl*>(host)) return uc->ParentForm();
    return nullptr;
}

bool UserControl::HostInteractive() const { return enabled_ && (!site_ || site_->IsInteractive()); }

bool UserControl::HostAvailable() const { return enabled_ && (!site_ || site_->IsAvailable()); }

ControlHost& UserControl::FocusRoot() {
    if (site_ && site_->Host()) return site_->Host()->FocusRoot();
    return *this;
}

void UserControl::Site(ObjectControl* extender) {
    site_ = extender;
    ClearFocus();
}

}  // namespace plat::ui
