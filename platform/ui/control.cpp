#include "platform/ui/control.h"

#include "platform/ui/form.h"
#include "platform/ui/renderer.h"
#include "platform/values/text.h"

namespace plat::ui {

namespace {

// True when `c` lies in `ancestor`: inside it as a container, or in an
// embeddable control that sits in it (at any depth).
bool IsWithin(const Control* c, const Control* ancestor) {
    while (c) {
        for (const Control* x = c; x; x = x->Container())
            if (x == ancestor) return true;
        auto* uc = dynamic_cast<UserControl*>(c->Host());
        c = uc ? uc->Extender() : nullptr;
    }
    return false;
}

// True when `c` belongs to `host` directly or through embedded controls.
bool BelongsTo(const Control* c, const ControlHost* host) {
    while (c) {
        if (c->Host() == host) return true;
        auto* uc = dynamic_cast<UserControl*>(c->Host());
        c = uc ? uc->Extender() : nullptr;
    }
    return false;
}

}  // namespace

// --- Control -------------------------------------------------------------------

void Control::SetContainer(Control* container) {
    if (container) {
        if (!container->IsContainer() || container->host_ != host_ || !host_)
            throw UiError("\"" + (container ? container->Name() : std::string()) +
                          "\" cannot hold the control \"" + name_ + "\"");
        if (IsWithin(container, this))
            throw UiError("The control \"" + name_ + "\" cannot be placed inside itself");
    }
    if (host_) host_->DropFocusWithin(this);
    container_ = container;
    NotifyChanged();
}

void Control::NotifyChanged() {
    if (!host_ || host_->Quiet()) return;
    if (Renderer* r = CurrentRenderer()) r->Changed(*this);
}

void Control::SetCaption(std::string caption) {
    if (caption == caption_) return;
    caption_ = std::move(caption);
    NotifyChanged();
}

void Control::SetEnabled(bool on) {
    if (on == enabled_) return;
    enabled_ = on;
    NotifyChanged();
    if (!on && host_) host_->DropFocusWithin(this);
}

void Control::SetVisible(bool on) {
    if (on == visible_) return;
    visible_ = on;
    NotifyChanged();
    if (!on && host_) host_->DropFocusWithin(this);
}

void Control::Move(int32_t left, int32_t top, int32_t width, int32_t height) {
    width = width < 0 ? 0 : width;
    height = height < 0 ? 0 : height;
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    NotifyChanged();
}

void Control::SetTabIndex(int32_t index) {
    if (index == tabIndex_) return;
    tabIndex_ = index;
    NotifyChanged();
}

void Control::SetBackColor(Color color) {
    if (color == backColor_) return;
    backColor_ = color;
    NotifyChanged();
}

void Control::SetForeColor(Color color) {
    if (color == foreColor_) return;
    foreColor_ = color;
    NotifyChanged();
}

void Control::SetFont(plat::ui::Font font) {
    if (font == font_) return;
    font_ = std::move(font);
    NotifyChanged();
}

void Control::SetFontName(std::string name) {
    plat::ui::Font f = font_;
    f.name = std::move(name);
    SetFont(std::move(f));
}

void Control::SetFontSize(double points) {
    plat::ui::Font f = font_;
    f.size = points;
    SetFont(std::move(f));
}

void Control::SetFontBold(bool on) {
    plat::ui::Font f = font_;
    f.bold = on;
    SetFont(std::move(f));
}

void Control::SetFontItalic(bool on) {
    plat::ui::Font f = font_;
    f.italic = on;
    SetFont(std::move(f));
}

bool Control::ChainShown() const {
    for (const Control* x = this; x; x = x->container_)
        if (!x->enabled_ || !x->visible_) return false;
    return true;
}

bool Control::IsInteractive() const { return host_ && ChainShown() && host_->HostInteractive(); }

bool Control::IsAvailable() const { return host_ && ChainShown() && host_->HostAvailable(); }

bool Control::SetFocus() {
    if (!CanTakeFocus() || !IsAvailable()) return false;
    ControlHost& root = host_->FocusRoot();
    if (root.focus_ == this) return true;
    ControlPtr previous = root.focus_ ? root.focus_->shared_from_this() : nullptr;
    root.focus_ = this;
    if (Renderer* r = CurrentRenderer()) r->FocusMoved(previous.get(), this);
    if (previous) previous->Fire(previous->OnLostFocus);
    // A LostFocus handler may have moved the focus elsewhere.
    if (host_ && host_->FocusRoot().focus_ == this) Fire(OnGotFocus);
    return true;
}

bool Control::HasFocus() const { return host_ && host_->FocusRoot().focus_ == this; }

bool Control::BeginUserAction(bool takeFocus) {
    if (!IsInteractive()) return false;
    if (takeFocus && CanTakeFocus() && !HasFocus()) {
        SetFocus();
        // A focus handler may have disabled it or closed the window.
        if (!IsInteractive()) return false;
    }
    return true;
}

// --- ObjectControl --------------------------------------------------------------

void ObjectControl::Deliver(const std::string& name, std::vector<Variant>& params) {
    if (removed_ || !Host()) return;
    auto keep = shared_from_this();
    Fire(OnObjectEvent, name, params);
    if (removed_ || !Host()) return;
    auto handler = Host()->OnObjectEvent;
    if (handler) handler(*this, name, params);
}

// --- ControlCollection ------------------------------------------------------------

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

// --- ControlHost -------------------------------------------------------------------

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
    return BelongsTo(root.focus_, this) ? root.focus_ : nullptr;
}

void ControlHost::DropFocusWithin(const Control* control) {
    ControlHost& root = FocusRoot();
    if (root.focus_ && IsWithin(root.focus_, control)) root.ClearFocus(true);
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
