#pragma once
// The host's help-text control (stand-in): a block of explanatory text that a
// settings page shows beside its fields, wrapped to the control's width.

#include <string>

#include "platform/ui/label.h"
#include "platform/ui/user_control.h"

namespace host {

class XHelpText : public plat::ui::UserControl {
public:
    XHelpText();
    // The text shown, as given (callers translate it).
    const std::string& Text() const { return lblText.Caption(); }
    void SetText(std::string text) { lblText.SetCaption(std::move(text)); }

private:
    plat::ui::Label& lblText = Add<plat::ui::Label>("lblText");
};

}  // namespace host
