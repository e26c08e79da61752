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

int32_t UserControl::ScaleWidth() const { return site_ ? site_->Width() : width_; }
int32_t UserControl::ScaleHeight() const { return site_ ? site_->Height() : height_; }

void UserControl::SetSize(int32_t width, int32_t height) {
    width_ = width < 0 ? 0 : width;
    height_ = height < 0 ? 0 : height;
    if (!site_) FireResize();
}

void UserControl::FireResize() {
    if (!OnResize) return;
    auto keep = weak_from_this().lock();
    auto handler = OnResize;
    handler();
}

void UserControl::Site(ObjectControl* extender) {
    site_ = extender;
    ClearFocus();
}

}  // namespace plat::ui
