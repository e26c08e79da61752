#include "platform/qt/control_view.h"

#include <QtGui/QFocusEvent>
#include <QtGui/QKeyEvent>

#include "platform/qt/event_hook.h"
#include "platform/qt/qt_convert.h"
#include "platform/qt/qt_renderer.h"
#include "platform/qt/qt_text.h"

namespace plat::qt {

ControlView::ControlView(plat::ui::Control& control, QtRenderer& renderer) : control_(&control), renderer_(renderer) {}

ControlView::~ControlView() {
    // Nothing of the widget may call back into this half-destroyed view.
    context_.reset();
    // Views are freed only at the loop's top, never under one of these filters.
    for (auto& hook : hooks_) delete hook.data();
    if (widget_) widget_->deleteLater();  // hidden already (Hide), or going with its window
}

void ControlView::Build(QWidget* parent) {
    if (widget_ || !control_) return;
    widget_ = Create(parent);
    widget_->setObjectName(ToQt(control_->Name()));
    if (RoutesKeys()) {
        Hook(widget_, [this](QObject*, QEvent* event) { return OnKeyEvent(event); });
        if (QWidget* proxy = widget_->focusProxy()) Hook(proxy, [this](QObject*, QEvent* event) { return OnKeyEvent(event); });
    }
    Sync();
}

bool ControlView::OnKeyEvent(QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const int32_t code = VbKeyCode(key->key());
    if (code == 0 || !control_ || Syncing() || (key->isAutoRepeat() && event->type() == QEvent::KeyRelease)) return false;
    const int32_t shift = VbShift(key->modifiers());
    if (event->type() == QEvent::KeyRelease) {
        // A release that outlived the focus (Tab moved it away) is nobody's KeyUp.
        if (control_->HasFocus()) Act([this, code, shift] { control_->KeyUp(code, shift); });
        return false;
    }
    Act([this, code, shift] { control_->KeyDown(code, shift); });
    return CoreHandlesKey(code);
}

bool ControlView::AutoPlaced() const {
    return control_ && control_->Left() == 0 && control_->Top() == 0 && control_->Width() == 0 &&
           control_->Height() == 0;
}

void ControlView::Sync() {
    if (!widget_ || !control_) return;
    const plat::ui::Control& c = *control_;
    if (!AutoPlaced())
        widget_->setGeometry(ToPixelRect(c.Left(), c.Top(), c.Width(), c.Height()));
    widget_->setEnabled(c.Enabled());
    widget_->setFont(ToQFont(c.Font(), QApplication::font()));
    ApplyColors(*widget_, c.BackColor(), c.ForeColor(), FillsBackground());
    SyncOwn();
    widget_->setVisible(c.Visible() && ShowsAnything());
}

void ControlView::Forget() { control_ = nullptr; }

void ControlView::Hide() {
    if (widget_ && widget_->isVisible()) widget_->hide();
}

bool ControlView::Syncing() const { return renderer_.Syncing(); }

void ControlView::Touch(plat::ui::Control& control) { renderer_.Touch(control); }

void ControlView::WatchFocus(QWidget* widget) {
    Hook(widget, [this](QObject*, QEvent* event) {
        if (event->type() != QEvent::FocusIn) return false;
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Tab is routed through the core already; window activation only restores the core's own focus.
        if (reason != Qt::MouseFocusReason && reason != Qt::ShortcutFocusReason) return false;
        if (control_ && !Syncing()) {
            auto keep = control_->shared_from_this();
            QtApplication::Guarded([&] { renderer_.UserFocus(*keep); });
        }
        return false;
    });
}

}  // namespace plat::qt

namespace plat::qt {

void ControlView::Hook(QObject* watched, std::function<bool(QObject*, QEvent*)> handler) {
    hooks_.emplace_back(new EventHook(watched, std::move(handler)));
}

}  // namespace plat::qt
