#include "platform/ui/combo_box.h"

namespace plat::ui {

std::string ComboBox::Text() const {
    return style_ == ComboStyle::DropdownList ? List(ListIndex()) : text_;
}

void ComboBox::SetText(std::string text) {
    if (style_ == ComboStyle::DropdownList) {
        if (!SelectText(text)) throw UiError("\"" + text + "\" is not an item of the list \"" + Name() + "\"");
        return;
    }
    if (text == text_) return;
    text_ = std::move(text);
    NotifyChanged();
    Fire(OnChange);
}

void ComboBox::SetLocked(bool on) {
    if (on == locked_) return;
    locked_ = on;
    NotifyChanged();
}

void ComboBox::SetStyle(ComboStyle style) {
    if (style == style_) return;
    style_ = style;
    NotifyChanged();
}

bool ComboBox::EnterText(std::string_view text) {
    if (style_ == ComboStyle::DropdownList || !BeginUserAction(true) || locked_) return false;
    if (text != text_) {
        text_ = std::string(text);
        NotifyChanged();
        Fire(OnChange);
    }
    return true;
}

void ComboBox::SelectionSet() {
    if (style_ != ComboStyle::DropdownList && ListIndex() >= 0) text_ = List(ListIndex());
}

void ComboBox::ListCleared() {
    if (style_ != ComboStyle::DropdownList) text_.clear();
}

}  // namespace plat::ui
