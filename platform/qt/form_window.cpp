#include "platform/qt/form_window.h"

#include <QtGui/QCloseEvent>
#include <QtGui/QIcon>
#include <QtGui/QResizeEvent>

#include "platform/qt/qt_application.h"
#include "platform/qt/qt_convert.h"
#include "platform/qt/qt_text.h"

namespace plat::qt {

FormWindow::FormWindow(plat::ui::Form& form) : QWidget(nullptr, Qt::Window), form_(&form) {
    setObjectName(ToQt(form.Name()));
    setFocusPolicy(Qt::NoFocus);
}

void FormWindow::Sync() {
    if (!form_) return;
    setWindowTitle(ToQt(form_->Caption()));
    if (!(form_->Icon() == icon_)) {
        icon_ = form_->Icon();
        setWindowIcon(QIcon(ToQPixmap(icon_)));
    }
    setEnabled(form_->Enabled());
    ApplyColors(*this, form_->BackColor(), plat::ui::vbButtonText, true);
    const QSize size(ToPixelsX(form_->ScaleWidth()), ToPixelsY(form_->ScaleHeight()));
    if (size != syncedSize_) {
        syncedSize_ = size;
        resize(size);
    }
    if (form_->Left() != 0 || form_->Top() != 0) move(ToPixelsX(form_->Left()), ToPixelsY(form_->Top()));
}

void FormWindow::closeEvent(QCloseEvent* event) {
    // The core decides; when it unloads the form, the renderer removes this window.
    event->ignore();
    if (!form_) return;
    plat::ui::Form* form = form_;
    QtApplication::Guarded([form] { form->UserClose(); });
}

void FormWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!form_ || event->size() == syncedSize_) return;
    // A person (or the window manager) resized it.
    syncedSize_ = event->size();
    plat::ui::Form* form = form_;
    const QSize size = event->size();
    QtApplication::Guarded([form, size] {
        form->SetInnerSize(size.width() * TwipsPerPixelX(), size.height() * TwipsPerPixelY());
    });
}

}  // namespace plat::qt

namespace plat::qt {

void FormWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isActiveWindow() || !form_) return;
    plat::ui::Form* form = form_;
    QtApplication::Guarded([form] { form->UserActivate(); });
}

}  // namespace plat::qt
