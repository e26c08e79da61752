#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/control.h"

namespace plat::ui {

// The list part shared by list box and combo box. Indexes count from 0;
// ListIndex -1 is no selection.
class ListControl : public Control {
public:
    bool CanTakeFocus() const override { return true; }

    // Inserts at `index` (-1 appends); a selection at or after it moves along.
    void AddItem(std::string item, int32_t index = -1);
    // Removing the selected item leaves no selection.
    void RemoveItem(int32_t index);
    // Empties the list and the selection (no Click).
    void Clear();
    int32_t ListCount() const { return static_cast<int32_t>(items_.size()); }
    // The item text; "" outside the list.
    std::string List(int32_t index) const;
    void SetList(int32_t index, std::string text);
    int32_t ItemData(int32_t index) const;
    void SetItemData(int32_t index, int32_t data);
    // The index of the item added last, -1 before any.
    int32_t NewIndex() const { return newIndex_; }

    // The index of the first item with that text (case-insensitive); -1 when none has it.
    int32_t FindItem(std::string_view text) const;

    int32_t ListIndex() const { return listIndex_; }
    // Program side: selects (-1: none) and fires Click when it changes. UiError outside -1..ListCount-1.
    void SetListIndex(int32_t index);
    // Program side: selects the first item with that text as SetListIndex does;
    // false, the selection kept, when none has it.
    bool SelectText(std::string_view text);
    // The selected item's text ("" when none).
    virtual std::string Text() const { return List(listIndex_); }

    // User action: picks the item and fires Click. False when refused or out of range.
    bool PickItem(int32_t index);
    // User action: picks the first item with that text (case-insensitive).
    bool PickText(std::string_view text);
    std::function<void()> OnClick;

protected:
    // True when a person may not change the selection (a locked combo box).
    virtual bool ReadOnly() const { return false; }
    // Called when the selection was set; the combo box mirrors it into its text.
    virtual void SelectionSet() {}
    // Called after Clear; the combo box empties its text.
    virtual void ListCleared() {}

private:
    struct Item {
        std::string text;
        int32_t data = 0;
    };
    void CheckIndex(int32_t index) const;
    std::vector<Item> items_;
    int32_t listIndex_ = -1;
    int32_t newIndex_ = -1;
};

}  // namespace plat::ui
