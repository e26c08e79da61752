#pragma once
// A text box. The core holds the text as UTF-8 bytes; MaxLength, SelStart
// and SelLength count bytes. How a person's editing reaches the core:
//  - a typed ASCII character and Backspace: TypeKey (KeyDown, KeyPress and
//    KeyUp fire; KeyPress may drop or replace the key; Locked and MaxLength
//    apply there); Delete: KeyDown(vbKeyDelete), which deletes in the core;
//    a deletion next to a character of several bytes takes the whole character;
//  - other keys with a code (arrows, Home, End, F1...): KeyDown / KeyUp, and
//    the widget moves the caret;
//  - any other edit (a non-ASCII character, paste, cut, Delete, undo): the
//    widget's new text goes to EnterText whole (no KeyPress); what was
//    inserted is cut at a character boundary to fit MaxLength, the text
//    around it stays; the caret is then put back;
//  - moving the caret or selecting sets SelStart / SelLength.
// After each, the box shows the core's text and selection again.

#include <string>

#include "platform/qt/control_view.h"
#include "platform/ui/controls.h"

class QLineEdit;

namespace plat::qt {

class TextBoxView final : public ControlView {
public:
    TextBoxView(plat::ui::TextBox& box, QtRenderer& renderer) : ControlView(box, renderer), box_(box) {}

protected:
    QWidget* Create(QWidget* parent) override;
    void SyncOwn() override;
    bool RoutesKeys() const override { return false; }

private:
    // Widens an empty selection to the whole character a deletion would cut into.
    void SelectCharacter(bool before);
    bool OnKey(QEvent* event);
    void OnEdited();
    void OnSelection();
    plat::ui::TextBox& box_;
    QLineEdit* edit_ = nullptr;
};

}  // namespace plat::qt
