#include "platform/qt/option_button_view.h"

#include <QtWidgets/QRadioButton>

#include "platform/qt/qt_text.h"

namespace plat::qt {

QWidget* OptionButtonView::Create(QWidget* parent) {
    radio_ = new QRadioButton(parent);
    radio_->setAutoExclusive(false);
    QObject::connect(radio_, &QRadioButton::clicked, Context(), [this] { Act([this] { option_.Click(); }); });
    WatchFocus(radio_);
    return radio_;
}

void OptionButtonView::SyncOwn() {
    radio_->setText(CaptionToQt(option_.Caption()));
    radio_->setChecked(option_.Value());
}

}  // namespace plat::qt
