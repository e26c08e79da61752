#include "platform/ui/list_control.h"

#include "platform/values/text.h"

namespace plat::ui {

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

int32_t ListControl::FindItem(std::string_view text) const {
    for (int32_t i = 0; i < ListCount(); ++i)
        if (EqualsNoCase(items_[i].text, text)) return i;
    return -1;
}

void ListControl::SetListIndex(int32_t index) {
    if (index != -1) CheckIndex(index);
    if (index == listIndex_) return;
    listIndex_ = index;
    SelectionSet();
    NotifyChanged();
    Fire(OnClick);
}

bool ListControl::SelectText(std::string_view text) {
    const int32_t index = FindItem(text);
    if (index < 0) return false;
    SetListIndex(index);
    return true;
}

bool ListControl::PickItem(int32_t index) {
    if (index < 0 || index >= ListCount()) return false;
    if (!BeginUserAction(true)) return false;
    // The focus handlers may have changed the list.
    if (index >= ListCount() || ReadOnly()) return false;
    listIndex_ = index;
    SelectionSet();
    NotifyChanged();
    Fire(OnClick);
    return true;
}

bool ListControl::PickText(std::string_view text) {
    const int32_t index = FindItem(text);
    return index >= 0 && PickItem(index);
}

}  // namespace plat::ui
