#include "platform/qt/form_window.h"

#include <QtGui/QCloseEvent>
#include <QtGui/QIcon>
#include <QtGui/QResizeEvent>
#include <QtGui/QScreen>
#include <QtGui/QWindow>
#include <QtWidgets/QApplication>

#include <algorithm>

#include "platform/qt/event_hook.h"
#include "platform/qt/qt_application.h"
#include "platform/qt/qt_convert.h"
#include "platform/qt/qt_text.h"

namespace plat::qt {

namespace {

// Counts shows, so that the window shown last is known.
thread_local uint64_t tShown = 0;

}  // namespace

FormWindow::FormWindow(plat::ui::Form& form) : QWidget(nullptr, Qt::Window), form_(&form) {
    setObjectName(ToQt(form.Name()));
    setFocusPolicy(Qt::NoFocus);
    if (Fixed())
        setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                       Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
}

bool FormWindow::Fixed() const { return form_ && !form_->OnResize; }

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
        const bool first = !syncedSize_.isValid();
        syncedSize_ = size;
        if (Fixed()) {
            setFixedSize(size);
        } else {
            // The size code gives is where every control shows; code may make it smaller still.
            if (first || size.width() < minimumWidth() || size.height() < minimumHeight())
                setMinimumSize(first ? size : size.boundedTo(minimumSize()));
            resize(size);
        }
    }
    if (form_->Left() != 0 || form_->Top() != 0) move(ToPixelsX(form_->Left()), ToPixelsY(form_->Top()));
}

void FormWindow::OpenOver(QWidget* owner, bool centre) {
    Qt::WindowFlags flags = windowFlags();
    if (owner) {
        flags = (flags & ~(Qt::WindowType_Mask | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)) |
                Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                Qt::WindowCloseButtonHint;
        if (!Fixed()) flags |= Qt::WindowMaximizeButtonHint;
    }
    if (flags != windowFlags()) setWindowFlags(flags);  // hidden here: no window flickers
    delete ownerWatch_;
    if (!owner) return;
    // The window manager keeps it over its owner and treats it as the owner's dialog.
    winId();
    if (QWindow* handle = windowHandle()) handle->setTransientParent(owner->window()->windowHandle());
    if (centre) ownerWatch_ = KeepCentredOver(*this, *owner);
}

QWidget* FormWindow::Frontmost(const QWidget* except) {
    auto* active = dynamic_cast<FormWindow*>(QApplication::activeWindow());
    if (active && active != except && active->isVisible()) return active;
    FormWindow* last = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* window = dynamic_cast<FormWindow*>(widget);
        if (!window || window == except || !window->isVisible() || !window->form_) continue;
        if (!last || window->shownOrder_ > last->shownOrder_) last = window;
    }
    return last;
}

void FormWindow::CentreOver(QWidget& window, const QWidget& owner) {
    const QRect over = owner.window()->frameGeometry();
    QRect place(QPoint(0, 0), window.frameGeometry().size().expandedTo(window.size()));
    place.moveCenter(over.center());
    if (QScreen* screen = owner.window()->screen()) {
        const QRect room = screen->availableGeometry();
        place.moveLeft(std::max(room.left(), std::min(place.left(), room.right() + 1 - place.width())));
        place.moveTop(std::max(room.top(), std::min(place.top(), room.bottom() + 1 - place.height())));
    }
    window.move(place.topLeft());
}

QObject* FormWindow::KeepCentredOver(QWidget& window, const QWidget& owner) {
    CentreOver(window, owner);
    QPointer<QWidget> dialog(&window);
    auto* watch = new EventHook(owner.window(), [dialog](QObject* watched, QEvent* event) {
        if ((event->type() == QEvent::Move || event->type() == QEvent::Resize) && dialog && dialog->isVisible())
            CentreOver(*dialog, *static_cast<QWidget*>(watched));
        return false;
    });
    watch->setParent(&window);
    return watch;
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

void FormWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    shownOrder_ = ++tShown;
}

}  // namespace plat::qt
