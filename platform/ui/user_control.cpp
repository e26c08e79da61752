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

// Docked, its extender still shows or hides it, but the window it is docked
// into decides whether it can be reached.
bool UserControl::HostInteractive() const {
    if (!enabled_) return false;
    if (DockParent()) return (!site_ || site_->ShownInHost()) && DockParent()->HostInteractive();
    return !site_ || site_->IsInteractive();
}

bool UserControl::HostAvailable() const {
    if (!enabled_) return false;
    if (DockParent()) return (!site_ || site_->ShownInHost()) && DockParent()->HostAvailable();
    return !site_ || site_->IsAvailable();
}

ControlHost* UserControl::NaturalParent() const { return site_ ? site_->Host() : nullptr; }

ControlHost& UserControl::FocusRoot() {
    if (ControlHost* parent = ParentHost()) return parent->FocusRoot();
    return *this;
}

void UserControl::Site(ObjectControl* extender) {
    site_ = extender;
    ClearFocus();
}

}  // namespace plat::ui
