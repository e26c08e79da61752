#include "platform/ui/control.h"

#include "platform/ui/form.h"
#include "platform/ui/renderer.h"
#include "platform/values/text.h"

namespace plat::ui {

bool Control::LiesIn(const Control* ancestor) const {
    for (const Control* c = this; c;) {
        for (const Control* x = c; x; x = x->Container())
            if (x == ancestor) return true;
        auto* uc = dynamic_cast<UserControl*>(c->Host());
        c = uc ? uc->Extender() : nullptr;
    }
    return false;
}

bool Control::BelongsTo(const ControlHost* host) const {
    for (const ControlHost* h = host_; h; h = h->ParentHost())
        if (h == host) return true;
    return false;
}

void Control::SetContainer(Control* container) {
    if (container) {
        if (!container->IsContainer() || container->host_ != host_ || !host_)
            throw UiError("\"" + (container ? container->Name() : std::string()) +
                          "\" cannot hold the control \"" + name_ + "\"");
        if (container->LiesIn(this))
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
    CaptionOrFontChanged();
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
    VisibilityChanged();
}

void Control::Move(int32_t left, int32_t top, int32_t width, int32_t height) {
    width = width < 0 ? 0 : width;
    height = height < 0 ? 0 : height;
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    const bool resized = width != width_ || height != height_;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    NotifyChanged();
    if (resized) SizeChanged();
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
    CaptionOrFontChanged();
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

bool Control::ShownInHost() const {
    for (const Control* x = this; x; x = x->container_)
        if (!x->enabled_ || !x->visible_) return false;
    return true;
}

bool Control::IsInteractive() const { return host_ && ShownInHost() && host_->HostInteractive(); }

bool Control::IsAvailable() const { return host_ && ShownInHost() && host_->HostAvailable(); }

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

bool Control::UserFocus() {
    if (!CanTakeFocus() || !BeginUserAction(true)) return false;
    return HasFocus();
}

bool Control::KeyDown(int32_t keyCode, int32_t shift) {
    if (!CanTakeFocus() || !BeginUserAction(true)) return false;
    Fire(OnKeyDown, keyCode, shift);
    if (keyCode != 0 && IsInteractive()) KeyAction(keyCode, shift);
    return true;
}

bool Control::KeyUp(int32_t keyCode, int32_t shift) {
    if (!CanTakeFocus() || !BeginUserAction(true)) return false;
    Fire(OnKeyUp, keyCode, shift);
    return true;
}

bool Control::PressKey(int32_t keyCode, int32_t shift) {
    if (!KeyDown(keyCode, shift)) return false;
    KeyUp(keyCode, shift);
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

}  // namespace plat::ui
