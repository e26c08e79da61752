#include "platform/qt/text_box_view.h"

#include <QtGui/QKeyEvent>
#include <QtWidgets/QLineEdit>

#include "platform/qt/qt_convert.h"
#include "platform/qt/qt_text.h"

namespace plat::qt {

namespace ui = plat::ui;

QWidget* TextBoxView::Create(QWidget* parent) {
    edit_ = new QLineEdit(parent);
    Hook(edit_, [this](QObject*, QEvent* event) { return OnKey(event); });
    QObject::connect(edit_, &QLineEdit::textEdited, Context(), [this] { OnEdited(); });
    QObject::connect(edit_, &QLineEdit::selectionChanged, Context(), [this] { OnSelection(); });
    QObject::connect(edit_, &QLineEdit::cursorPositionChanged, Context(), [this] { OnSelection(); });
    WatchFocus(edit_);
    return edit_;
}

void TextBoxView::SyncOwn() {
    const std::string& text = box_.Text();
    const QString shown = ToQt(text);
    if (edit_->text() != shown) edit_->setText(shown);
    edit_->setReadOnly(box_.Locked());
    // The selection as the core has it, unless the widget already shows it
    // (keeps the side a person selected towards).
    const int start = IndexOfByte(text, box_.SelStart());
    const int end = IndexOfByte(text, box_.SelStart() + box_.SelLength());
    const int shownStart = edit_->hasSelectedText() ? edit_->selectionStart() : edit_->cursorPosition();
    const int shownLength = edit_->hasSelectedText() ? static_cast<int>(edit_->selectedText().size()) : 0;
    if (shownStart == start && shownLength == end - start) return;
    if (end > start)
        edit_->setSelection(start, end - start);
    else
        edit_->setCursorPosition(start);
}

bool TextBoxView::OnKey(QEvent* event) {
    const bool press = event->type() == QEvent::KeyPress;
    if ((!press && event->type() != QEvent::KeyRelease) || Syncing()) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const QString text = key->text();
    const bool typed = !text.isEmpty() && text.at(0).isPrint();
    const int32_t code = VbKeyCode(key->key());
    if (!press) {
        // Typed keys and Backspace raised their KeyUp with TypeKey.
        if (!typed && code != 0 && code != ui::vbKeyBack && !key->isAutoRepeat() && box_.HasFocus())
            Act([this, code, key] { box_.KeyUp(code, VbShift(key->modifiers())); });
        return false;
    }
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    if (code == ui::vbKeyBack || code == ui::vbKeyDelete) {
        const bool back = code == ui::vbKeyBack;
        const int32_t shift = VbShift(key->modifiers());
        Act([this, back, shift] {
            SelectCharacter(back);
            if (back)
                box_.TypeKey(ui::vbKeyBack);
            else
                box_.KeyDown(ui::vbKeyDelete, shift);
        });
        return true;
    }
    if (typed) {
        for (QChar ch : text)
            if (ch.unicode() >= 0x80) return false;  // more than one byte: an edit of the whole text (OnEdited)
        for (QChar ch : text) Act([this, ch] { box_.TypeKey(ch.unicode()); });
        return true;
    }
    if (code != 0) Act([this, code, key] { box_.KeyDown(code, VbShift(key->modifiers())); });
    return false;
}

void TextBoxView::SelectCharacter(bool before) {
    if (box_.SelLength() > 0) return;
    const std::string& text = box_.Text();
    const int32_t at = box_.SelStart();
    int32_t from = at, to = at;
    auto continues = [&text](int32_t i) {
        return i >= 0 && i < static_cast<int32_t>(text.size()) && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80;
    };
    if (before) {
        if (at == 0) return;
        from = at - 1;
        while (from > 0 && continues(from)) --from;
    } else {
        if (at >= static_cast<int32_t>(text.size())) return;
        to = at + 1;
        while (continues(to)) ++to;
    }
    if (to - from <= 1) return;  // one byte: the core's own step
    box_.SetSelStart(from);
    box_.SetSelLength(to - from);
}

void TextBoxView::OnEdited() {
    const QString shown = edit_->text();
    const int caret = edit_->cursorPosition();
    Act([this, shown, caret] {
        const std::string after = FromQt(shown);
        const FittedEdit edit = FitEdit(box_.Text(), after, box_.MaxLength());
        const bool whole = edit.text == after;
        if (box_.EnterText(edit.text)) box_.SetSelStart(whole ? ByteOfIndex(shown, caret) : edit.caret);
    });
}

void TextBoxView::OnSelection() {
    if (Syncing() || !Control()) return;
    const QString shown = edit_->text();
    if (FromQt(shown) != box_.Text()) return;  // an edit is on its way (textEdited follows)
    const int start = edit_->hasSelectedText() ? edit_->selectionStart() : edit_->cursorPosition();
    const int length = edit_->hasSelectedText() ? static_cast<int>(edit_->selectedText().size()) : 0;
    const int32_t byteStart = ByteOfIndex(shown, start);
    const int32_t byteLength = ByteOfIndex(shown, start + length) - byteStart;
    if (byteStart == box_.SelStart() && byteLength == box_.SelLength()) return;
    Act([this, byteStart, byteLength] {
        box_.SetSelStart(byteStart);
        box_.SetSelLength(byteLength);
    });
}

}  // namespace plat::qt
