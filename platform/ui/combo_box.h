#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/ui/list_control.h"

namespace plat::ui {

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

    // A locked combo box takes the focus but a person can neither pick nor type.
    bool Locked() const { return locked_; }
    void SetLocked(bool on);

protected:
    bool ReadOnly() const override { return locked_; }
    void SelectionSet() override;
    void ListCleared() override;

private:
    ComboStyle style_ = ComboStyle::DropdownCombo;
    std::string text_;
    bool locked_ = false;
};

}  // namespace plat::ui
