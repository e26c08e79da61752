#include "platform/ui/editable_text.h"

#include "platform/ui/keys.h"

namespace plat::ui {

void EditableText::SetText(std::string text, int32_t caret) {
    text_ = std::move(text);
    anchor_ = caret_ = Clamp(caret);
}

void EditableText::Select(int32_t anchor, int32_t caret) {
    anchor_ = Clamp(anchor);
    caret_ = Clamp(caret);
}

void EditableText::SetSelLength(int32_t length) {
    const int32_t start = SelStart();
    Select(start, start + (length < 0 ? 0 : length));
}

int32_t EditableText::Step(int32_t at, bool back) const {
    const auto continuation = [this](int32_t i) {
        return i > 0 && i < Size() && (static_cast<unsigned char>(text_[i]) & 0xC0) == 0x80;
    };
    const auto lineBreakAt = [this](int32_t i) { return i >= 0 && i + 1 < Size() && text_[i] == '\r' && text_[i + 1] == '\n'; };
    if (back) {
        if (at <= 0) return 0;
        if (lineBreakAt(at - 2)) return at - 2;
        --at;
        while (continuation(at)) --at;
        return at;
    }
    if (at >= Size()) return Size();
    if (lineBreakAt(at)) return at + 2;
    ++at;
    while (continuation(at)) ++at;
    return at;
}

EditableText EditableText::Typed(std::string_view with) const {
    EditableText next;
    const int32_t start = SelStart();
    next.text_ = text_.substr(0, start);
    next.text_.append(with);
    next.text_.append(text_, start + SelLength());
    next.anchor_ = next.caret_ = start + static_cast<int32_t>(with.size());
    return next;
}

EditableText EditableText::Deleted(bool before) const {
    if (SelLength() > 0) return Typed({});
    EditableText next = *this;
    const int32_t other = Step(caret_, before);
    next.anchor_ = before ? other : caret_;
    next.caret_ = before ? caret_ : other;
    return next.Typed({});
}

bool EditableText::MoveCaret(int32_t keyCode, bool extend) {
    int32_t to = caret_;
    switch (keyCode) {
        case vbKeyHome: to = 0; break;
        case vbKeyEnd: to = Size(); break;
        case vbKeyLeft: to = !extend && SelLength() > 0 ? SelStart() : Step(caret_, true); break;
        case vbKeyRight: to = !extend && SelLength() > 0 ? SelStart() + SelLength() : Step(caret_, false); break;
        default: return false;
    }
    caret_ = to;
    if (!extend) anchor_ = to;
    return true;
}

}  // namespace plat::ui
