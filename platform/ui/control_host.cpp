#include "platform/ui/control_host.h"

#include "platform/ui/form.h"
#include "platform/ui/renderer.h"

namespace plat::ui {

ControlHost::~ControlHost() {
    focus_ = nullptr;
    controls_.RemoveRunTimeControls();
    for (const auto& c : controls_.items_) {
        c->host_ = nullptr;
        c->container_ = nullptr;
        if (auto* e = dynamic_cast<ObjectControl*>(c.get())) {
            e->removed_ = true;
            if (auto uc = std::dynamic_pointer_cast<UserControl>(e->Object())) uc->Site(nullptr);
        }
    }
}

ObjectControl& ControlHost::AddObject(std::string_view name, ObjectPtr object, Control* container) {
    return *controls_.Hold(std::move(object), {}, name, container, true);
}

Control* ControlHost::ActiveControl() const {
    auto& root = const_cast<ControlHost*>(this)->FocusRoot();
    return root.focus_ && root.focus_->BelongsTo(this) ? root.focus_ : nullptr;
}

void ControlHost::DropFocusWithin(const Control* control) {
    ControlHost& root = FocusRoot();
    if (root.focus_ && root.focus_->LiesIn(control)) root.ClearFocus(true);
}

void ControlHost::ClearFocus(bool notify) {
    Control* previous = focus_;
    focus_ = nullptr;
    if (notify && previous && !quiet_)
        if (Renderer* r = CurrentRenderer()) r->FocusMoved(previous, nullptr);
}

void ControlHost::Destroying() {
    if (quiet_) return;
    quiet_ = true;
    if (Renderer* r = CurrentRenderer()) r->HostDestroyed(*this);
}

}  // namespace plat::ui

namespace plat::ui {

void ControlHost::NotifyHostChanged() {
    if (quiet_) return;
    if (Renderer* r = CurrentRenderer()) r->HostChanged(*this);
}

}  // namespace plat::ui
