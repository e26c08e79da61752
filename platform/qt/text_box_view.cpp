#include "platform/qt/text_box_view.h"

#include <QtGui/QGuiApplication>
#include <QtGui/QKeyEvent>
#include <QtGui/QPalette>
#include <QtGui/QTextDocument>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPlainTextEdit>

#include "platform/qt/qt_convert.h"
#include "platform/qt/qt_text.h"

namespace plat::qt {

namespace ui = plat::ui;

QWidget* TextBoxView::Create(QWidget* parent) {
    QWidget* widget = nullptr;
    if (box_.MultiLine()) {
        lines_ = new QPlainTextEdit(parent);
        lines_->setTabChangesFocus(true);
        const ui::ScrollBarsConstants bars = box_.ScrollBars();
        const bool across = bars == ui::vbHorizontal || bars == ui::vbBoth;
        const bool down = bars == ui::vbVertical || bars == ui::vbBoth;
        lines_->setLineWrapMode(across ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
        lines_->setHorizontalScrollBarPolicy(across ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        lines_->setVerticalScrollBarPolicy(down ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        QObject::connect(lines_, &QPlainTextEdit::textChanged, Context(), [this] { OnEdited(); });
        QObject::connect(lines_, &QPlainTextEdit::selectionChanged, Context(), [this] { OnSelection(); });
        QObject::connect(lines_, &QPlainTextEdit::cursorPositionChanged, Context(), [this] { OnSelection(); });
        widget = lines_;
    } else {
        edit_ = new QLineEdit(parent);
        QObject::connect(edit_, &QLineEdit::textEdited, Context(), [this] { OnEdited(); });
        QObject::connect(edit_, &QLineEdit::selectionChanged, Context(), [this] { OnSelection(); });
        QObject::connect(edit_, &QLineEdit::cursorPositionChanged, Context(), [this] { OnSelection(); });
        widget = edit_;
    }
    Hook(widget, [this](QObject*, QEvent* event) { return OnKey(event); });
    WatchFocus(widget);
    return widget;
}

QString TextBoxView::Shown() const {
    if (edit_) return edit_->text();
    // The raw text keeps no-break spaces; its paragraph ends are line breaks.
    QString text = lines_->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

void TextBoxView::ShowText(const QString& text) {
    if (edit_)
        edit_->setText(text);
    else
        lines_->setPlainText(text);
}

TextBoxView::Span TextBoxView::ShownSelection() const {
    if (edit_) {
        if (!edit_->hasSelectedText()) return {edit_->cursorPosition(), 0};
        return {edit_->selectionStart(), static_cast<int>(edit_->selectedText().size())};
    }
    const QTextCursor cursor = lines_->textCursor();
    return {cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart()};
}

void TextBoxView::ShowSelection(int start, int end) {
    if (edit_) {
        if (end > start)
            edit_->setSelection(start, end - start);
        else
            edit_->setCursorPosition(start);
        return;
    }
    QTextCursor cursor = lines_->textCursor();
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    lines_->setTextCursor(cursor);
}

QString TextBoxView::ToShown(const std::string& text) const { return edit_ ? ToQt(text) : LinesToQt(text); }

std::string TextBoxView::FromShown(const QString& shown) const { return edit_ ? FromQt(shown) : LinesFromQt(shown); }

int TextBoxView::IndexOf(const std::string& text, int32_t byte) const {
    return edit_ ? IndexOfByte(text, byte) : IndexOfLinesByte(text, byte);
}

int32_t TextBoxView::ByteOf(const std::string& text, int index) const {
    return edit_ ? ByteOfIndex(ToQt(text), index) : LinesByteOfIndex(text, index);
}

void TextBoxView::SyncFace() {
    QWidget* widget = edit_ ? static_cast<QWidget*>(edit_) : lines_;
    const ui::Color back = box_.BackColor();
    const ui::Color fore = box_.ForeColor();
    const bool ownFore = fore != ui::vbButtonText;
    if (back == ui::vbWindowBackground && !ownFore) {
        widget->setPalette(QPalette());  // inherits again
        return;
    }
    QPalette palette = widget->parentWidget() ? widget->parentWidget()->palette() : QGuiApplication::palette();
    const QColor face = ToQColor(back, palette);
    palette.setColor(QPalette::Base, face);
    if (ownFore) {
        const QColor c = ToQColor(fore, palette);
        for (auto group : {QPalette::Active, QPalette::Inactive}) palette.setColor(group, QPalette::Text, c);
    }
    widget->setPalette(palette);
}

void TextBoxView::SyncOwn() {
    SyncFace();
    const std::string& text = box_.Text();
    const QString shown = ToShown(text);
    if (Shown() != shown) ShowText(shown);
    if (edit_) {
        edit_->setReadOnly(box_.Locked());
    } else if (lines_->isReadOnly() != box_.Locked()) {
        lines_->setReadOnly(box_.Locked());
        // Locked still lets a person move the caret and select, as in a one-line box.
        if (box_.Locked()) lines_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    }
    // The selection as the core has it, unless the widget already shows it
    // (keeps the side a person selected towards).
    const int start = IndexOf(text, box_.SelStart());
    const int end = IndexOf(text, box_.SelStart() + box_.SelLength());
    const Span now = ShownSelection();
    if (now.start == start && now.length == end - start) return;
    ShowSelection(start, end);
}

bool TextBoxView::OnKey(QEvent* event) {
    const bool press = event->type() == QEvent::KeyPress;
    if ((!press && event->type() != QEvent::KeyRelease) || Syncing()) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const QString text = key->text();
    const bool typed = !text.isEmpty() && text.at(0).isPrint();
    const int32_t code = VbKeyCode(key->key());
    if (!press) {
        // Typed keys and Backspace raised their KeyUp with TypeKey, and so did
        // Enter where the box typed a line break.
        const bool lineBreak = code == ui::vbKeyReturn && box_.MultiLine() && !box_.Locked();
        if (!typed && code != 0 && code != ui::vbKeyBack && !lineBreak && !key->isAutoRepeat() && box_.HasFocus())
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
    const QString shown = Shown();
    const Span now = ShownSelection();
    const int caret = now.start + now.length;
    Act([this, shown, caret] {
        const std::string after = FromShown(shown);
        const FittedEdit edit = FitEdit(box_.Text(), after, box_.MaxLength());
        const bool whole = edit.text == after;
        if (box_.EnterText(edit.text)) box_.SetSelStart(whole ? ByteOf(after, caret) : edit.caret);
    });
}

void TextBoxView::OnSelection() {
    if (Syncing() || !Control()) return;
    const QString shown = Shown();
    // An edit is on its way (the text's signal follows).
    if (edit_ ? FromQt(shown) != box_.Text() : shown != LinesToQt(box_.Text())) return;
    const Span span = ShownSelection();
    const int32_t byteStart = ByteOf(box_.Text(), span.start);
    const int32_t byteLength = ByteOf(box_.Text(), span.start + span.length) - byteStart;
    if (byteStart == box_.SelStart() && byteLength == box_.SelLength()) return;
    Act([this, byteStart, byteLength] {
        box_.SetSelStart(byteStart);
        box_.SetSelLength(byteLength);
    });
}

}  // namespace plat::qt
