#include "platform/qt/combo_box_view.h"

#include <QtGui/QKeyEvent>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLineEdit>

#include "platform/qt/list_items.h"
#include "platform/qt/qt_text.h"

namespace plat::qt {

namespace ui = plat::ui;

QWidget* ComboBoxView::Create(QWidget* parent) {
    box_ = new QComboBox(parent);
    box_->setInsertPolicy(QComboBox::NoInsert);
    QObject::connect(box_, &QComboBox::activated, Context(), [this](int index) {
        Act([this, index] { combo_.PickItem(index); });
    });
    // A locked box takes the focus and its keys reach KeyDown, but it neither opens nor changes.
    Hook(box_, [this](QObject*, QEvent* event) {
        if (!Control() || !combo_.Locked()) return false;
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
            case QEvent::Wheel: return true;
            case QEvent::KeyPress: {
                const int key = static_cast<QKeyEvent*>(event)->key();
                return key != Qt::Key_Tab && key != Qt::Key_Backtab;
            }
            default: return false;
        }
    });
    WatchFocus(box_);
    return box_;
}

void ComboBoxView::SetEditable(bool on) {
    if (box_->isEditable() == on) return;
    box_->setEditable(on);
    if (!on) return;
    box_->setInsertPolicy(QComboBox::NoInsert);
    box_->setCompleter(nullptr);
    QObject::connect(box_->lineEdit(), &QLineEdit::textEdited, Context(), [this](const QString& text) {
        Act([this, text] { combo_.EnterText(FromQt(text)); });
    });
    WatchFocus(box_->lineEdit());
}

void ComboBoxView::SyncOwn() {
    SetEditable(combo_.Style() != ui::ComboStyle::DropdownList);
    ShowItems(combo_, *box_, shown_);
    if (box_->currentIndex() != combo_.ListIndex()) box_->setCurrentIndex(combo_.ListIndex());
    if (box_->isEditable()) {
        box_->lineEdit()->setReadOnly(combo_.Locked());
        const QString text = ToQt(combo_.Text());
        if (box_->lineEdit()->text() != text) box_->lineEdit()->setText(text);
    }
}

}  // namespace plat::qt
