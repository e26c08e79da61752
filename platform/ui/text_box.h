#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/ui/control.h"
#include "platform/ui/editable_text.h"
#include "platform/ui/keys.h"

namespace plat::ui {

// Which scroll bars a multi-line box shows.
enum ScrollBarsConstants : int32_t { vbSBNone = 0, vbHorizontal = 1, vbVertical = 2, vbBoth = 3 };

class TextBox : public Control {
public:
    // A box's face is the window background, as a person expects to type in;
    // a program greys a read-only one with vbButtonFace.
    TextBox() { SetBackColor(vbWindowBackground); }
    bool CanTakeFocus() const override { return true; }

    const std::string& Text() const { return edit_.Text(); }
    // Program side: replaces the text (MaxLength does not apply), puts the
    // caret at the start and fires Change when the text differs.
    void SetText(std::string text);

    // Selection in characters (bytes) from 0. SetSelStart clamps to the text
    // and empties the selection; SetSelLength clamps to the rest of the text.
    int32_t SelStart() const { return edit_.SelStart(); }
    int32_t SelLength() const { return edit_.SelLength(); }
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

    // A multi-line box holds lines separated by CR LF: Enter types a line
    // break there (unless locked), and a person's paste gets its line breaks
    // as CR LF. Without a horizontal scroll bar its lines wrap. Both are read
    // when the window is made: set them before it shows.
    bool MultiLine() const { return multiLine_; }
    void SetMultiLine(bool on);
    // Scroll bars of a multi-line box (a one-line box shows none).
    ScrollBarsConstants ScrollBars() const { return scrollBars_; }
    void SetScrollBars(ScrollBarsConstants bars);

    // User actions. TypeKey moves the focus to the box if it lacks it, fires
    // KeyDown with the key's code (KeyCodeOf), KeyPress with the character code
    // by reference (0 drops the key; another code replaces it), then Backspace
    // deletes the selection or the character before the caret, a printable key
    // replaces the selection unless MaxLength is reached, and Change fires when
    // the text changed; last KeyUp. Enter (13) in a multi-line box types CR LF;
    // other control codes change nothing. A CR LF pair is deleted whole. True
    // when the box took the key (even when filtered). The Delete key reaches the
    // box as KeyDown(vbKeyDelete): it deletes the selection or the character
    // after the caret.
    bool TypeKey(int32_t keyAscii);
    // TypeKey for each character; false at the first refused one.
    bool TypeText(std::string_view text);
    // Pastes over the whole text (as select-all and paste: no KeyPress),
    // cut to MaxLength (never between CR and LF); a multi-line box turns lone
    // CR and LF into CR LF first. Change when it differs. False when refused
    // or locked.
    bool EnterText(std::string_view text);

    std::function<void()> OnChange;
    std::function<void(int32_t& keyAscii)> OnKeyPress;

    // The key code and shift state of the key that types `keyAscii`: letters
    // their capital (shift for a capital), digits themselves, "," 188,
    // "-" 189, "." 190, other characters their own code.
    static int32_t KeyCodeOf(int32_t keyAscii);
    static int32_t ShiftOf(int32_t keyAscii);

    // Enter in a multi-line box that is not locked types a line break
    // instead of pressing the window's default button.
    bool TakeDialogKey(int32_t keyAscii) override;

protected:
    void KeyAction(int32_t keyCode, int32_t shift) override;

private:
    void TypeCharacter(int32_t key);
    // Takes an edit's result; Change when the text differs.
    void Apply(EditableText next);
    EditableText edit_;
    int32_t maxLength_ = 0;
    bool locked_ = false;
    bool multiLine_ = false;
    ScrollBarsConstants scrollBars_ = vbSBNone;
};

}  // namespace plat::ui
