#include "platform/ui/control_collection.h"

#include "platform/ui/form.h"
#include "platform/ui/renderer.h"
#include "platform/values/text.h"

namespace plat::ui {

Control* ControlCollection::Find(std::string_view name) const {
    for (const auto& c : items_)
        if (EqualsNoCase(c->Name(), name)) return c.get();
    return nullptr;
}

Control& ControlCollection::Item(std::string_view name) const {
    Control* c = Find(name);
    if (!c) throw UiError("There is no control named \"" + std::string(name) + "\"");
    return *c;
}

ControlPtr ControlCollection::Shared(std::string_view name) const {
    Control* c = Find(name);
    return c ? c->shared_from_this() : nullptr;
}

void ControlCollection::Insert(const ControlPtr& control, std::string_view name, Control* container,
                               bool designTime, bool announce) {
    if (name.empty()) throw UiError("A control needs a name");
    if (Find(name)) throw UiError("A control named \"" + std::string(name) + "\" is already there");
    if (container && (!container->IsContainer() || container->host_ != &host_))
        throw UiError("\"" + container->Name() + "\" cannot hold the control \"" + std::string(name) + "\"");
    control->name_ = std::string(name);
    control->host_ = &host_;
    control->container_ = container;
    control->designTime_ = designTime;
    control->tabIndex_ = Count();
    items_.push_back(control);
    if (announce) Announce(*control);
}

void ControlCollection::Announce(Control& control) {
    if (host_.Quiet()) return;
    if (Renderer* r = CurrentRenderer()) r->ControlAdded(host_, control);
}

std::shared_ptr<ObjectControl> ControlCollection::Add(std::string_view progId, std::string_view name,
                                                      Control* container) {
    if (name.empty()) throw UiError("A control needs a name");
    if (Find(name)) throw UiError("A control named \"" + std::string(name) + "\" is already there");
    return Hold(CreateObject(progId), std::string(progId), name, container, false);
}

std::shared_ptr<ObjectControl> ControlCollection::Hold(ObjectPtr object, std::string progId, std::string_view name,
                                                       Control* container, bool designTime) {
    if (!object) throw UiError("No object to place as \"" + std::string(name) + "\"");
    auto extender = std::make_shared<ObjectControl>();
    extender->progId_ = std::move(progId);
    extender->object_ = object;
    Insert(extender, name, container, designTime, false);
    if (auto co = std::dynamic_pointer_cast<ControlObject>(object)) {
        std::weak_ptr<ObjectControl> weak = extender;
        co->SetEventSink([weak](const std::string& event, std::vector<Variant>& params) {
            if (auto e = weak.lock()) e->Deliver(event, params);
        });
    }
    if (auto uc = std::dynamic_pointer_cast<UserControl>(object)) uc->Site(extender.get());
    Announce(*extender);
    return extender;
}

void ControlCollection::Remove(std::string_view name) {
    auto it = items_.begin();
    while (it != items_.end() && !EqualsNoCase((*it)->Name(), name)) ++it;
    if (it == items_.end()) throw UiError("There is no control named \"" + std::string(name) + "\"");
    if ((*it)->designTime_)
        throw UiError("The control \"" + (*it)->Name() + "\" belongs to the window and cannot be removed");
    ControlPtr keep = *it;  // alive until its own event handler (if any) returns
    host_.DropFocusWithin(keep.get());
    items_.erase(it);
    auto* extender = dynamic_cast<ObjectControl*>(keep.get());
    keep->host_ = nullptr;
    keep->container_ = nullptr;
    if (Renderer* r = CurrentRenderer(); r && !host_.Quiet()) r->ControlRemoved(host_, *keep);
    if (!extender) return;
    extender->removed_ = true;
    if (auto co = std::dynamic_pointer_cast<ControlObject>(extender->object_)) co->SetEventSink({});
    if (auto uc = std::dynamic_pointer_cast<UserControl>(extender->object_)) uc->Site(nullptr);
}

void ControlCollection::RemoveRunTimeControls() {
    for (const auto& c : Snapshot())
        if (!c->designTime_ && c->host_ == &host_) Remove(c->Name());
}

}  // namespace plat::ui
