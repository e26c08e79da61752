#include "platform/qt/progress_bar_view.h"

#include <QtWidgets/QProgressBar>

namespace plat::qt {

QWidget* ProgressBarView::Create(QWidget* parent) {
    progress_ = new QProgressBar(parent);
    progress_->setRange(0, kSteps);
    progress_->setTextVisible(false);
    // A bar that ran before the renderer came has no frame timer yet.
    bar_.UpdateAnimation();
    return progress_;
}

void ProgressBarView::SyncOwn() {
    progress_->setValue(bar_.Running() ? static_cast<int>(bar_.Frame() % (kSteps + 1)) : 0);
}

}  // namespace plat::qt
