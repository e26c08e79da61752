#include "platform/qt/frame_view.h"

#include <QtWidgets/QGroupBox>

#include "platform/qt/qt_text.h"

namespace plat::qt {

QWidget* FrameView::Create(QWidget* parent) {
    box_ = new QGroupBox(parent);
    return box_;
}

void FrameView::SyncOwn() { box_->setTitle(CaptionToQt(Control()->Caption())); }

}  // namespace plat::qt
