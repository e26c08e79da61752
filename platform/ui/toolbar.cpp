#include "platform/ui/toolbar.h"

#include <algorithm>

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

bool Toolbar::Click(ToolbarButton* button) {
    if (!button || !button->enabled_ || !button->visible_ || button->style_ == ButtonStyle::Separator) return false;
    if (!BeginUserAction(false)) return false;
    if (button->style_ == ButtonStyle::Check) button->SetValue(!button->value_);
    Fire(OnButtonClick, *button);
    return true;
}

bool Toolbar::ClickButton(int32_t index) {
    return Click(index >= 1 && index <= Count() ? buttons_[index - 1].get() : nullptr);
}

bool Toolbar::ClickButton(std::string_view key) { return Click(Find(key)); }

}  // namespace plat::ui
