#pragma once
// The common controls: label, frame, command button, check box, option
// button, text box, list box and combo box. See control.h for the split into
// program-side setters (fire events, no enabled check) and user actions
// (refused when the person cannot reach the control).

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/control.h"

namespace plat::ui {

// Key codes of KeyPress (the original's vbKey values).
constexpr int32_t vbKeyBack = 8;
constexpr int32_t vbKeyReturn = 13;
constexpr int32_t vbKeyEscape = 27;

class Label : public Control {
public:
    bool HasCaption() const override { return true; }
};

// A container: controls placed in it share its enabled and visible state,
// and option buttons in it form their own group.
class Frame : public Control {
public:
    bool HasCaption() const override { return true; }
    bool IsContainer() const override { return true; }
};

class CommandButton : public Control {
public:
    bool HasCaption() const override { return true; }
    bool CanTakeFocus() const override { return true; }

    // The button that Enter clicks; setting it clears the flag on the host's other buttons.
    bool Default() const { return default_; }
    void SetDefault(bool on);
    // The button that Esc clicks.
    bool Cancel() const { return cancel_; }
    void SetCancel(bool on);

    // User action: focus to the button, then Click.
    bool Click();
    std::function<void()> OnClick;

private:
    bool default_ = false;
    bool cancel_ = false;
};

// Value 0 unchecked, 1 checked, 2 grayed.
class CheckBox : public Control {
public:
    bool HasCaption() const override { return true; }
    bool CanTakeFocus() const override { return true; }

    int32_t Value() const { return value_; }
    // Fires Click when the value changes. UiError outside 0..2.
    void SetValue(int32_t value);
    // User action: toggles (grayed becomes unchecked) and fires Click.
    bool Click();
    std::function<void()> OnClick;

private:
    int32_t value_ = 0;
};

// Option buttons of one host and one container form a group: at most one is on.
class OptionButton : public Control {
public:
    bool HasCaption() const override { return true; }
    bool CanTakeFocus() const override { return true; }

    bool Value() const { return value_; }
    // True turns the others of the group off and fires Click when it was off.
    void SetValue(bool on);
    // User action: selects it (Click fires only when it was not selected).
    bool Click();
    std::function<void()> OnClick;

private:
    bool value_ = false;
};

class TextBox : public Control {
public:
    bool CanTakeFocus() const override { return true; }

    const std::string& Text() const { return text_; }
    // Program side: replaces the text (MaxLength does not apply), puts the
    // caret at the start and fires Change when the text differs.
    void SetText(std::string text);

    // Selection in characters (bytes) from 0. SetSelStart clamps to the text
    // and empties the selection; SetSelLength clamps to the rest of the text.
    int32_t SelStart() const { return selStart_; }
    int32_t SelLength() const { return selLength_; }
    void SetSelStart(int32_t start);
    void SetSelLength(int32_t length);
    std::string SelText() const;
    // Program side: replaces the selection, caret after it; fires Change.
    void SetSelText(std::string_view text);

    // The most characters a person can type or paste; 0 is no limit.
    int32_t MaxLength() const { return maxLength_; }
    void SetMaxLength(int32_t length);
    // A locked box takes the focus and fires KeyPress but does not change.
    bool Locked() const { return locked_; }
    void SetLocked(bool on);

    // User actions. TypeKey moves the focus to the box if it lacks it, fires
    // KeyPress with the key code by reference (0 drops the key; another code
    // replaces it), then Backspace deletes the selection or the character before
    // the caret, a printable key replaces the selection unless MaxLength is
    // reached, and Change fires when the text changed. Other control codes
    // change nothing. True when the box took the key (even when filtered).
    bool TypeKey(int32_t keyAscii);
    // TypeKey for each character; false at the first refused one.
    bool TypeText(std::string_view text);
    // Pastes over the whole text (as select-all and paste: no KeyPress),
    // cut to MaxLength; Change when it differs. False when refused or locked.
    bool EnterText(std::string_view text);

    std::function<void()> OnChange;
    std::function<void(int32_t& keyAscii)> OnKeyPress;

private:
    void Replace(int32_t start, int32_t length, std::string_view with);
    std::string text_;
    int32_t selStart_ = 0;
    int32_t selLength_ = 0;
    int32_t maxLength_ = 0;
    bool locked_ = false;
};

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

    int32_t ListIndex() const { return listIndex_; }
    // Program side: selects (-1: none) and fires Click when it changes. UiError outside -1..ListCount-1.
    void SetListIndex(int32_t index);
    // The selected item's text ("" when none).
    virtual std::string Text() const { return List(listIndex_); }

    // User action: picks the item and fires Click. False when refused or out of range.
    bool PickItem(int32_t index);
    // User action: picks the first item with that text (case-insensitive).
    bool PickText(std::string_view text);
    std::function<void()> OnClick;

protected:
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

class ListBox : public ListControl {};

enum class ComboStyle { DropdownCombo = 0, SimpleCombo = 1, DropdownList = 2 };

// A combo box. In the pick-only style (DropdownList) its text is the selected
// item; in the editable styles it has its own text and a Change event.
class ComboBox : public ListControl {
public:
    ComboStyle Style() const { return style_; }
    void SetStyle(ComboStyle style);

    std::string Text() const override;
    // Program side. Editable: sets the text, fires Change when it differs.
    // Pick-only: selects the item of that text (case-insensitive), UiError when none.
    void SetText(std::string text);
    // User action (editable styles): replaces the text, fires Change. False when refused or pick-only.
    bool EnterText(std::string_view text);
    std::function<void()> OnChange;

protected:
    void SelectionSet() override;
    void ListCleared() override;

private:
    ComboStyle style_ = ComboStyle::DropdownCombo;
    std::string text_;
};

}  // namespace plat::ui
