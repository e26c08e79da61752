#include "platform/ui/object_control.h"

#include "platform/ui/user_control.h"

namespace plat::ui {

void ObjectControl::Deliver(const std::string& name, std::vector<Variant>& params) {
    if (removed_ || !Host()) return;
    auto keep = shared_from_this();
    Fire(OnObjectEvent, name, params);
    if (removed_ || !Host()) return;
    auto handler = Host()->OnObjectEvent;
    if (handler) handler(*this, name, params);
}

void ObjectControl::SizeChanged() {
    if (removed_) return;
    if (auto* page = dynamic_cast<UserControl*>(object_.get()); page && page->Extender() == this) page->FireResize();
}

}  // namespace plat::ui
