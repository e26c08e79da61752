#include "platform/ui/controls.h"

#include "platform/values/text.h"

namespace plat::ui {

// --- CommandButton ---------------------------------------------------------------

void CommandButton::SetDefault(bool on) {
    if (on && Host())
        for (const auto& c : Host()->Controls())
            if (auto* b = dynamic_cast<CommandButton*>(c.get()); b && b != this && b->default_) {
                b->default_ = false;
                b->NotifyChanged();
            }
    if (on == default_) return;
    default_ = on;
    NotifyChanged();
}

void CommandButton::SetCancel(bool on) {
    if (on == cancel_) return;
    cancel_ = on;
    NotifyChanged();
}

bool CommandButton::Click() {
    if (!BeginUserAction(true)) return false;
    Fire(OnClick);
    return true;
}

// --- CheckBox -----------------------------------------------------------------------

void CheckBox::SetValue(int32_t value) {
    if (value < 0 || value > 2) throw UiError("A check box value is 0, 1 or 2, not " + std::to_string(value));
    if (value == value_) return;
    value_ = value;
    NotifyChanged();
    Fire(OnClick);
}

bool CheckBox::Click() {
    if (!BeginUserAction(true)) return false;
    value_ = value_ == 0 ? 1 : 0;
    NotifyChanged();
    Fire(OnClick);
    return true;
}

// --- OptionButton --------------------------------------------------------------------

void OptionButton::SetValue(bool on) {
    if (on == value_) return;
    if (!on) {
        value_ = false;
        NotifyChanged();
        return;
    }
    if (Host())
        for (const auto& c : Host()->Controls())
            if (auto* o = dynamic_cast<OptionButton*>(c.get());
                o && o != this && o->Container() == Container() && o->value_) {
                o->value_ = false;
                o->NotifyChanged();
            }
    value_ = true;
    NotifyChanged();
    Fire(OnClick);
}

bool OptionButton::Click() {
    if (!BeginUserAction(true)) return false;
    SetValue(true);
    return true;
}

// --- TextBox ------------------------------------------------------------------------

void TextBox::SetText(std::string text) {
    const bool changed = text != text_;
    text_ = std::move(text);
    selStart_ = 0;
    selLength_ = 0;
    NotifyChanged();
    if (changed) Fire(OnChange);
}

void TextBox::SetSelStart(int32_t start) {
    const auto len = static_cast<int32_t>(text_.size());
    selStart_ = start < 0 ? 0 : (start > len ? len : start);
    selLength_ = 0;
    NotifyChanged();
}

void TextBox::SetSelLength(int32_t length) {
    const auto rest = static_cast<int32_t>(text_.size()) - selStart_;
    selLength_ = length < 0 ? 0 : (length > rest ? rest : length);
    NotifyChanged();
}

void TextBox::SetMaxLength(int32_t length) {
    maxLength_ = length < 0 ? 0 : length;
    NotifyChanged();
}

void TextBox::SetLocked(bool on) {
    if (on == locked_) return;
    locked_ = on;
    NotifyChanged();
}

std::string TextBox::SelText() const { return text_.substr(selStart_, selLength_); }

void TextBox::SetSelText(std::string_view text) { Replace(selStart_, selLength_, text); }

void TextBox::Replace(int32_t start, int32_t length, std::string_view with) {
    std::string next = text_.substr(0, start);
    next.append(with);
    next.append(text_, start + length);
    selStart_ = start + static_cast<int32_t>(with.size());
    selLength_ = 0;
    if (next == text_) {
        NotifyChanged();
        return;
    }
    text_ = std::move(next);
    NotifyChanged();
    Fire(OnChange);
}

bool TextBox::TypeKey(int32_t keyAscii) {
    if (!BeginUserAction(true)) return false;
    int32_t key = keyAscii;
    Fire(OnKeyPress, key);
    if (key == 0 || locked_) return true;
    if (key == vbKeyBack) {
        if (selLength_ > 0)
            Replace(selStart_, selLength_, {});
        else if (selStart_ > 0)
            Replace(selStart_ - 1, 1, {});
        return true;
    }
    if (key < 32 || key > 255) return true;
    if (maxLength_ > 0 && static_cast<int32_t>(text_.size()) - selLength_ >= maxLength_) return true;
    const char ch = static_cast<char>(key);
    Replace(selStart_, selLength_, std::string_view(&ch, 1));
    return true;
}

bool TextBox::TypeText(std::string_view text) {
    for (char c : text)
        if (!TypeKey(static_cast<unsigned char>(c))) return false;
    return true;
}

bool TextBox::EnterText(std::string_view text) {
    if (!BeginUserAction(true) || locked_) return false;
    std::string next(text);
    if (maxLength_ > 0 && static_cast<int32_t>(next.size()) > maxLength_) next.resize(maxLength_);
    const bool changed = next != text_;
    text_ = std::move(next);
    selStart_ = static_cast<int32_t>(text_.size());
    selLength_ = 0;
    NotifyChanged();
    if (changed) Fire(OnChange);
    return true;
}

// --- ListControl ------------------------------------------------------------------------

void ListControl::CheckIndex(int32_t index) const {
    if (index < 0 || index >= ListCount())
        throw UiError("List index " + std::to_string(index) + " is outside the list of \"" + Name() + "\"");
}

void ListControl::AddItem(std::string item, int32_t index) {
    if (index == -1) index = ListCount();
    if (index < 0 || index > ListCount())
        throw UiError("List index " + std::to_string(index) + " is outside the list of \"" + Name() + "\"");
    items_.insert(items_.begin() + index, Item{std::move(item), 0});
    newIndex_ = index;
    if (listIndex_ >= index) ++listIndex_;
    NotifyChanged();
}

void ListControl::RemoveItem(int32_t index) {
    CheckIndex(index);
    items_.erase(items_.begin() + index);
    if (listIndex_ == index)
        listIndex_ = -1;
    else if (listIndex_ > index)
        --listIndex_;
    if (newIndex_ >= ListCount()) newIndex_ = ListCount() - 1;
    NotifyChanged();
}

void ListControl::Clear() {
    items_.clear();
    listIndex_ = -1;
    newIndex_ = -1;
    ListCleared();
    NotifyChanged();
}

std::string ListControl::List(int32_t index) const {
    if (index < 0 || index >= ListCount()) return {};
    return items_[index].text;
}

void ListControl::SetList(int32_t index, std::string text) {
    CheckIndex(index);
    items_[index].text = std::move(text);
    NotifyChanged();
}

int32_t ListControl::ItemData(int32_t index) const {
    CheckIndex(index);
    return items_[index].data;
}

void ListControl::SetItemData(int32_t index, int32_t data) {
    CheckIndex(index);
    items_[index].data = data;
}

void ListControl::SetListIndex(int32_t index) {
    if (index != -1) CheckIndex(index);
    if (index == listIndex_) return;
    listIndex_ = index;
    SelectionSet();
    NotifyChanged();
    Fire(OnClick);
}

bool ListControl::PickItem(int32_t index) {
    if (index < 0 || index >= ListCount()) return false;
    if (!BeginUserAction(true)) return false;
    // The focus handlers may have changed the list.
    if (index >= ListCount()) return false;
    listIndex_ = index;
    SelectionSet();
    NotifyChanged();
    Fire(OnClick);
    return true;
}

bool ListControl::PickText(std::string_view text) {
    for (int32_t i = 0; i < ListCount(); ++i)
        if (EqualsNoCase(items_[i].text, text)) return PickItem(i);
    return false;
}

// --- ComboBox -----------------------------------------------------------------------------

std::string ComboBox::Text() const {
    return style_ == ComboStyle::DropdownList ? List(ListIndex()) : text_;
}

void ComboBox::SetText(std::string text) {
    if (style_ == ComboStyle::DropdownList) {
        for (int32_t i = 0; i < ListCount(); ++i)
            if (EqualsNoCase(List(i), text)) {
                SetListIndex(i);
                return;
            }
        throw UiError("\"" + text + "\" is not an item of the list \"" + Name() + "\"");
    }
    if (text == text_) return;
    text_ = std::move(text);
    NotifyChanged();
    Fire(OnChange);
}

void ComboBox::SetStyle(ComboStyle style) {
    if (style == style_) return;
    style_ = style;
    NotifyChanged();
}

bool ComboBox::EnterText(std::string_view text) {
    if (style_ == ComboStyle::DropdownList || !BeginUserAction(true)) return false;
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
