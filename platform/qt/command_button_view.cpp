#include "platform/qt/command_button_view.h"

#include <QtWidgets/QPushButton>

#include "platform/qt/qt_text.h"

namespace plat::qt {

QWidget* CommandButtonView::Create(QWidget* parent) {
    push_ = new QPushButton(parent);
    push_->setAutoDefault(false);
    push_->setDefault(false);
    QObject::connect(push_, &QPushButton::clicked, Context(), [this] { Act([this] { button_.Click(); }); });
    WatchFocus(push_);
    return push_;
}

void CommandButtonView::SyncOwn() { push_->setText(CaptionToQt(button_.Caption())); }

}  // namespace plat::qt
