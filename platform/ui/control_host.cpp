#include "platform/ui/control_host.h"

#include <mutex>

#include "platform/ui/form.h"
#include "platform/ui/renderer.h"

namespace plat::ui {

namespace {

// Never destroyed: a window kept in a static outlives every other static.
struct HostRegistry {
    std::mutex mutex;
    std::vector<ControlHost*> hosts;
    WindowHandle next = 0x1000;
};
HostRegistry& Registry() {
    static auto* registry = new HostRegistry;
    return *registry;
}

}  // namespace

ControlHost::ControlHost() : controls_(*this) {
    HostRegistry& r = Registry();
    std::lock_guard lock(r.mutex);
    r.next += 4;
    handle_ = r.next;
    r.hosts.push_back(this);
}

ControlHost::~ControlHost() {
    {
        HostRegistry& r = Registry();
        std::lock_guard lock(r.mutex);
        std::erase(r.hosts, this);
    }
    for (ControlHost* h : AllHosts())
        if (h->dockParent_ == this) {
            h->dockParent_ = nullptr;
            h->NotifyHostChanged();
        }
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
    // The focus may lie in another window when `control` holds a docked page.
    for (ControlHost* h : AllHosts())
        if (h->focus_ && h->focus_->LiesIn(control)) h->ClearFocus(true);
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

void ControlHost::NotifyHostChanged() {
    if (quiet_) return;
    if (Renderer* r = CurrentRenderer()) r->HostChanged(*this);
}

ControlHost* FromHandle(WindowHandle handle) {
    HostRegistry& r = Registry();
    std::lock_guard lock(r.mutex);
    for (ControlHost* h : r.hosts)
        if (h->hWnd() == handle) return h;
    return nullptr;
}

std::vector<ControlHost*> AllHosts() {
    HostRegistry& r = Registry();
    std::lock_guard lock(r.mutex);
    return r.hosts;
}

WindowHandle SetParent(WindowHandle child, WindowHandle parent) {
    ControlHost* c = FromHandle(child);
    ControlHost* p = parent ? FromHandle(parent) : nullptr;
    if (!c || (parent && !p)) return 0;
    for (ControlHost* x = p; x; x = x->ParentHost())
        if (x == c) return 0;
    ControlHost* previous = c->ParentHost();
    ControlHost* next = p == c->NaturalParent() ? nullptr : p;
    if (next != c->dockParent_) {
        // The focus of the page belongs to the window it leaves.
        ControlHost& oldRoot = c->FocusRoot();
        if (oldRoot.focus_ && oldRoot.focus_->BelongsTo(c)) oldRoot.ClearFocus(true);
        c->dockParent_ = next;
        c->NotifyHostChanged();
    }
    return previous ? previous->hWnd() : 0;
}

}  // namespace plat::ui
