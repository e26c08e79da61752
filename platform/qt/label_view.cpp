#include "platform/qt/label_view.h"

#include <QtWidgets/QLabel>

#include "platform/qt/qt_text.h"

namespace plat::qt {

QWidget* LabelView::Create(QWidget* parent) {
    label_ = new QLabel(parent);
    label_->setTextFormat(Qt::PlainText);
    label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label_->setWordWrap(true);
    return label_;
}

void LabelView::SyncOwn() {
    label_->setText(LabelCaptionToQt(caption_.Caption()));
    const Qt::Alignment horizontal = caption_.Alignment() == plat::ui::LabelAlignment::Right    ? Qt::AlignRight
                                     : caption_.Alignment() == plat::ui::LabelAlignment::Centre ? Qt::AlignHCenter
                                                                                                 : Qt::AlignLeft;
    label_->setAlignment(horizontal | Qt::AlignTop);
    label_->setWordWrap(!(caption_.AutoSize() && !caption_.WordWrap()));
}

}  // namespace plat::qt
