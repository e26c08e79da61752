#include "platform/ui/text_box.h"


namespace plat::ui {

namespace {

// Lone CR and lone LF become CR LF.
std::string WithCrLf(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            out += "\r\n";
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace

void TextBox::SetText(std::string text) {
    const bool changed = text != edit_.Text();
    edit_.SetText(std::move(text));
    NotifyChanged();
    if (changed) Fire(OnChange);
}

void TextBox::SetSelStart(int32_t start) {
    edit_.SetSelStart(start);
    NotifyChanged();
}

void TextBox::SetSelLength(int32_t length) {
    edit_.SetSelLength(length);
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

void TextBox::SetMultiLine(bool on) {
    if (on == multiLine_) return;
    multiLine_ = on;
    NotifyChanged();
}

void TextBox::SetScrollBars(ScrollBarsConstants bars) {
    if (bars < vbSBNone || bars > vbBoth) bars = vbSBNone;
    if (bars == scrollBars_) return;
    scrollBars_ = bars;
    NotifyChanged();
}

std::string TextBox::SelText() const { return edit_.SelText(); }

void TextBox::SetSelText(std::string_view text) { Apply(edit_.Typed(text)); }

void TextBox::Apply(EditableText next) {
    const bool changed = next.Text() != edit_.Text();
    edit_ = std::move(next);
    NotifyChanged();
    if (changed) Fire(OnChange);
}

int32_t TextBox::KeyCodeOf(int32_t keyAscii) {
    if (keyAscii >= 'a' && keyAscii <= 'z') return keyAscii - 'a' + 'A';
    switch (keyAscii) {
        case ',': return 188;
        case '-': return 189;
        case '.': return 190;
        default: return keyAscii;
    }
}

int32_t TextBox::ShiftOf(int32_t keyAscii) { return keyAscii >= 'A' && keyAscii <= 'Z' ? vbShiftMask : 0; }

bool TextBox::TypeKey(int32_t keyAscii) {
    if (!BeginUserAction(true)) return false;
    const int32_t shift = ShiftOf(keyAscii);
    int32_t code = KeyCodeOf(keyAscii);
    Fire(OnKeyDown, code, shift);
    int32_t key = keyAscii;
    Fire(OnKeyPress, key);
    if (key != 0 && !locked_) TypeCharacter(key);
    code = KeyCodeOf(keyAscii);
    Fire(OnKeyUp, code, shift);
    return true;
}

void TextBox::TypeCharacter(int32_t key) {
    if (key == vbKeyBack) {
        Apply(edit_.Deleted(true));
        return;
    }
    const bool lineBreak = key == vbKeyReturn && multiLine_;
    if (!lineBreak && (key < 32 || key > 255)) return;
    const std::string_view typed = lineBreak ? std::string_view("\r\n") : std::string_view();
    const auto size = static_cast<int32_t>(lineBreak ? typed.size() : 1);
    if (maxLength_ > 0 && static_cast<int32_t>(edit_.Text().size()) - edit_.SelLength() + size > maxLength_) return;
    const char ch = static_cast<char>(key);
    Apply(edit_.Typed(lineBreak ? typed : std::string_view(&ch, 1)));
}

void TextBox::KeyAction(int32_t keyCode, int32_t) {
    if (keyCode == vbKeyDelete && !locked_) Apply(edit_.Deleted(false));
}

bool TextBox::TakeDialogKey(int32_t keyAscii) {
    if (keyAscii != vbKeyReturn || !multiLine_ || locked_) return false;
    return TypeKey(vbKeyReturn);
}

bool TextBox::TypeText(std::string_view text) {
    for (char c : text)
        if (!TypeKey(static_cast<unsigned char>(c))) return false;
    return true;
}

bool TextBox::EnterText(std::string_view text) {
    if (!BeginUserAction(true) || locked_) return false;
    std::string next = multiLine_ ? WithCrLf(text) : std::string(text);
    if (maxLength_ > 0 && static_cast<int32_t>(next.size()) > maxLength_) {
        auto keep = static_cast<size_t>(maxLength_);
        if (next[keep - 1] == '\r' && next[keep] == '\n') --keep;  // never half a line break
        next.resize(keep);
    }
    EditableText entered;
    const auto caret = static_cast<int32_t>(next.size());
    entered.SetText(std::move(next), caret);
    Apply(std::move(entered));
    return true;
}

}  // namespace plat::ui
