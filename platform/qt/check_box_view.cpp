#include "platform/qt/check_box_view.h"

#include <QtWidgets/QCheckBox>

#include "platform/qt/qt_text.h"

namespace plat::qt {

QWidget* CheckBoxView::Create(QWidget* parent) {
    check_ = new QCheckBox(parent);
    check_->setTristate(true);  // to show "grayed"; a click never cycles to it (the core decides)
    QObject::connect(check_, &QCheckBox::clicked, Context(), [this] { Act([this] { box_.Click(); }); });
    WatchFocus(check_);
    return check_;
}

void CheckBoxView::SyncOwn() {
    check_->setText(CaptionToQt(box_.Caption()));
    const int32_t v = box_.Value();
    check_->setCheckState(v == 1 ? Qt::Checked : v == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
}

}  // namespace plat::qt
