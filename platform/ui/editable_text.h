#pragma once
// The text of an edit field with its caret and selection, and the edits a
// person makes there: what the text box and the grid's in-cell editor share,
// so that a key acts the same in both. Positions count bytes of the UTF-8
// text from 0. The selection runs from the anchor to the caret (either side);
// SelStart and SelLength give it as a start and a length. A deletion takes a
// whole character (all bytes of a UTF-8 character, a CR LF pair); a caret
// move steps over one the same way.

#include <cstdint>
#include <string>
#include <string_view>

namespace plat::ui {

class EditableText {
public:
    const std::string& Text() const { return text_; }
    // Replaces the text with the caret at `caret` (clamped), no selection.
    void SetText(std::string text, int32_t caret = 0);

    int32_t Caret() const { return caret_; }
    int32_t Anchor() const { return anchor_; }
    int32_t SelStart() const { return anchor_ < caret_ ? anchor_ : caret_; }
    int32_t SelLength() const { return anchor_ < caret_ ? caret_ - anchor_ : anchor_ - caret_; }
    std::string SelText() const { return text_.substr(SelStart(), SelLength()); }
    // Selects from `anchor` to `caret`, both clamped to the text.
    void Select(int32_t anchor, int32_t caret);
    void SelectAll() { Select(0, Size()); }
    // SelStart empties the selection; SelLength keeps its start and clamps to the rest.
    void SetSelStart(int32_t start) { Select(start, start); }
    void SetSelLength(int32_t length);

    // What typing `with` (a character, a paste) makes of the text: the
    // selection replaced, or `with` put in at the caret; the caret after it.
    EditableText Typed(std::string_view with) const;
    // What Backspace (before) or Delete makes of it: the selection removed, or
    // the character before or after the caret. Unchanged at either end.
    EditableText Deleted(bool before) const;
    // Left, Right, Home and End (key codes in keys.h) move the caret; with
    // `extend` (Shift) the anchor stays, so the selection grows or shrinks.
    // Without it Left and Right on a selection go to its start or end. False
    // for any other key.
    bool MoveCaret(int32_t keyCode, bool extend);

    bool operator==(const EditableText&) const = default;

private:
    int32_t Size() const { return static_cast<int32_t>(text_.size()); }
    int32_t Clamp(int32_t at) const { return at < 0 ? 0 : (at > Size() ? Size() : at); }
    // The position one character before or after `at`.
    int32_t Step(int32_t at, bool back) const;
    std::string text_;
    int32_t anchor_ = 0;
    int32_t caret_ = 0;
};

}  // namespace plat::ui
