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
// A multi-line box is a QPlainTextEdit under the same rules; it shows each
// CR LF of the core as one line break, and Enter reaches it through the
// window (Form::PressEnter), which lets the box type the line break.

#include <string>

#include "platform/qt/control_view.h"
#include "platform/ui/controls.h"

class QLineEdit;
class QPlainTextEdit;

namespace plat::qt {

class TextBoxView final : public ControlView {
public:
    TextBoxView(plat::ui::TextBox& box, QtRenderer& renderer) : ControlView(box, renderer), box_(box) {}

protected:
    QWidget* Create(QWidget* parent) override;
    void SyncOwn() override;
    bool RoutesKeys() const override { return false; }
    bool FillsBackground() const override { return false; }

private:
    // The widget's text and selection, and the conversions between the
    // core's text and what the widget shows (one-line or multi-line).
    QString Shown() const;
    void ShowText(const QString& text);
    struct Span {
        int start = 0;
        int length = 0;
    };
    Span ShownSelection() const;
    void ShowSelection(int start, int end);
    QString ToShown(const std::string& text) const;
    std::string FromShown(const QString& shown) const;
    int IndexOf(const std::string& text, int32_t byte) const;
    int32_t ByteOf(const std::string& text, int index) const;
    // The box's back colour fills its face (the Base role) only; the frame
    // keeps the window's colours.
    void SyncFace();
    // Widens an empty selection to the whole character a deletion would cut into.
    void SelectCharacter(bool before);
    bool OnKey(QEvent* event);
    void OnEdited();
    void OnSelection();
    plat::ui::TextBox& box_;
    QLineEdit* edit_ = nullptr;
    QPlainTextEdit* lines_ = nullptr;  // instead of edit_ in a multi-line box
};

}  // namespace plat::qt
