#include "platform/ui/toolbar.h"

#include <algorithm>

#include "platform/ui/keys.h"

namespace plat::ui {

// --- ToolbarButton ---------------------------------------------------------------------------

int32_t ToolbarButton::Index() const {
    const auto& all = bar_.buttons_;
    auto it = std::find_if(all.begin(), all.end(), [this](const auto& b) { return b.get() == this; });
    return static_cast<int32_t>(it - all.begin()) + 1;
}

void ToolbarButton::SetCaption(std::string caption) {
    if (caption == caption_) return;
    caption_ = std::move(caption);
    bar_.Touch();
}

void ToolbarButton::SetToolTipText(std::string text) {
    if (text == toolTip_) return;
    toolTip_ = std::move(text);
    bar_.Touch();
}

void ToolbarButton::SetImage(std::string key) {
    if (key == image_) return;
    image_ = std::move(key);
    bar_.Touch();
}

void ToolbarButton::SetEnabled(bool on) {
    if (on == enabled_) return;
    enabled_ = on;
    bar_.Touch();
}

void ToolbarButton::SetVisible(bool on) {
    if (on == visible_) return;
    visible_ = on;
    bar_.Touch();
}

void ToolbarButton::SetValue(bool on) {
    if (on == value_) return;
    value_ = on;
    bar_.Touch();
}

// --- Toolbar ---------------------------------------------------------------------------------

void Toolbar::SetImageList(ImageList* list) {
    imageList_ = list;
    NotifyChanged();
}

ToolbarButton& Toolbar::Add(std::string key, std::string caption, ButtonStyle style, std::string image) {
    if (!key.empty() && Find(key)) throw UiError("The toolbar \"" + Name() + "\" already has a button \"" + key + "\"");
    auto b = std::unique_ptr<ToolbarButton>(new ToolbarButton(*this));
    b->key_ = std::move(key);
    b->caption_ = std::move(caption);
    b->style_ = style;
    b->image_ = std::move(image);
    buttons_.push_back(std::move(b));
    NotifyChanged();
    return *buttons_.back();
}

ToolbarButton* Toolbar::Find(std::string_view key) const {
    for (const auto& b : buttons_)
        if (!key.empty() && b->key_ == key) return b.get();
    return nullptr;
}

ToolbarButton& Toolbar::Button(int32_t index) const {
    if (index < 1 || index > Count())
        throw UiError("The toolbar \"" + Name() + "\" has no button " + std::to_string(index));
    return *buttons_[index - 1];
}

ToolbarButton& Toolbar::Button(std::string_view key) const {
    ToolbarButton* b = Find(key);
    if (!b) throw UiError("The toolbar \"" + Name() + "\" has no button \"" + std::string(key) + "\"");
    return *b;
}

bool Toolbar::Clickable(const ToolbarButton& button) {
    return button.enabled_ && button.visible_ && button.style_ != ButtonStyle::Separator;
}

bool Toolbar::Click(ToolbarButton* button) {
    if (!button || !Clickable(*button)) return false;
    if (!BeginUserAction(false)) return false;
    if (button->style_ == ButtonStyle::Check) button->SetValue(!button->value_);
    Fire(OnButtonClick, *button);
    return true;
}

bool Toolbar::ClickButton(int32_t index) {
    return Click(index >= 1 && index <= Count() ? buttons_[index - 1].get() : nullptr);
}

bool Toolbar::ClickButton(std::string_view key) { return Click(Find(key)); }

int32_t Toolbar::HotButton() const {
    if (hot_ >= 1 && hot_ <= Count() && Clickable(*buttons_[hot_ - 1])) return hot_;
    for (int32_t i = 1; i <= Count(); ++i)
        if (Clickable(*buttons_[i - 1])) return i;
    return 0;
}

void Toolbar::SetHot(int32_t index) {
    if (index == hot_) return;
    hot_ = index;
    NotifyChanged();
}

bool Toolbar::TakeDialogKey(int32_t keyAscii) {
    const int32_t hot = HotButton();
    if (keyAscii != vbKeyReturn || hot == 0) return false;
    ClickButton(hot);
    return true;
}

void Toolbar::KeyAction(int32_t keyCode, int32_t /*shift*/) {
    const int32_t hot = HotButton();
    if (hot == 0) return;
    int32_t step = 0, from = hot;
    switch (keyCode) {
        case vbKeyLeft: step = -1; break;
        case vbKeyRight: step = 1; break;
        case vbKeyHome: step = 1, from = 0; break;
        case vbKeyEnd: step = -1, from = Count() + 1; break;
        case vbKeySpace: ClickButton(hot); return;
        default: return;
    }
    for (int32_t i = from + step; i >= 1 && i <= Count(); i += step)
        if (Clickable(*buttons_[i - 1])) {
            SetHot(i);
            return;
        }
    SetHot(hot);  // at the end already: the hot button stays where it shows
}

}  // namespace plat::ui
