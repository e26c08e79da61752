#include "platform/qt/toolbar_view.h"

#include <QtGui/QAction>
#include <QtGui/QIcon>
#include <QtWidgets/QFrame>
#include <QtWidgets/QToolBar>

#include "platform/qt/qt_convert.h"
#include "platform/qt/qt_text.h"
#include "platform/ui/keys.h"

namespace plat::qt {

namespace ui = plat::ui;

QWidget* ToolbarView::Create(QWidget* parent) {
    tools_ = new QToolBar(parent);
    tools_->setFloatable(false);
    tools_->setMovable(false);
    tools_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    // No focus by a click (the buttons take none either): only the core gives the bar the focus.
    tools_->setFocusPolicy(Qt::NoFocus);
    focusFrame_ = new QFrame(tools_);
    focusFrame_->setObjectName("focusFrame");
    focusFrame_->setStyleSheet("QFrame#focusFrame { border: 2px solid palette(highlight); background: transparent; }");
    focusFrame_->setAttribute(Qt::WA_TransparentForMouseEvents);
    focusFrame_->setFocusPolicy(Qt::NoFocus);
    focusFrame_->hide();
    Hook(tools_, [this](QObject*, QEvent* event) {
        switch (event->type()) {
            case QEvent::FocusIn:
            case QEvent::FocusOut: SyncFocusFrame(); break;
            default: break;
        }
        return false;
    });
    return tools_;
}

bool ToolbarView::CoreHandlesKey(int32_t keyCode) const {
    switch (keyCode) {
        case ui::vbKeyLeft:
        case ui::vbKeyRight:
        case ui::vbKeyHome:
        case ui::vbKeyEnd:
        case ui::vbKeySpace: return true;
        default: return false;
    }
}

void ToolbarView::SyncFocusFrame() {
    const int32_t hot = Control() ? bar_.HotButton() : 0;  // a forgotten view's bar may be gone
    QWidget* button = hot > 0 && static_cast<size_t>(hot) <= actions_.size()
                          ? tools_->widgetForAction(actions_[static_cast<size_t>(hot - 1)])
                          : nullptr;
    const bool show = button && !button->isHidden() && bar_.HasFocus() && tools_->hasFocus();
    if (show) {
        focusFrame_->setGeometry(button->geometry());
        focusFrame_->raise();
    }
    if (focusFrame_->isVisible() != show) focusFrame_->setVisible(show);
}

void ToolbarView::Rebuild() {
    tools_->clear();
    actions_.clear();
    keys_.clear();
    for (int32_t i = 1; i <= bar_.Count(); ++i) {
        ui::ToolbarButton& b = bar_.Button(i);
        keys_.push_back(std::to_string(static_cast<int>(b.Style())) + ":" + b.Key());
        if (b.Style() == ui::ButtonStyle::Separator) {
            actions_.push_back(tools_->addSeparator());
            continue;
        }
        QAction* action = tools_->addAction(QString());
        action->setCheckable(b.Style() == ui::ButtonStyle::Check);
        QObject::connect(action, &QAction::triggered, Context(), [this, i] { Act([this, i] { bar_.ClickButton(i); }); });
        // The bar lays its buttons out later (shown, resized): the frame follows its button.
        if (QWidget* button = tools_->widgetForAction(action))
            Hook(button, [this](QObject*, QEvent* event) {
                if (event->type() == QEvent::Move || event->type() == QEvent::Resize) SyncFocusFrame();
                return false;
            });
        actions_.push_back(action);
    }
}

void ToolbarView::SyncOwn() {
    std::vector<std::string> keys;
    for (int32_t i = 1; i <= bar_.Count(); ++i)
        keys.push_back(std::to_string(static_cast<int>(bar_.Button(i).Style())) + ":" + bar_.Button(i).Key());
    if (keys != keys_) Rebuild();
    bool anyImage = false;
    for (int32_t i = 1; i <= bar_.Count(); ++i) {
        ui::ToolbarButton& b = bar_.Button(i);
        QAction* action = actions_[static_cast<size_t>(i - 1)];
        action->setVisible(b.Visible());
        if (b.Style() == ui::ButtonStyle::Separator) continue;
        action->setText(CaptionToQt(b.Caption()));
        action->setToolTip(ToQt(b.ToolTipText().empty() ? b.Caption() : b.ToolTipText()));
        action->setEnabled(b.Enabled());
        if (action->isCheckable()) action->setChecked(b.Value());
        const QPixmap image = ImageOf(bar_.ImageListOf(), b.Image());
        anyImage = anyImage || !image.isNull();
        action->setIcon(image.isNull() ? QIcon() : QIcon(image));
    }
    tools_->setToolButtonStyle(anyImage ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonTextOnly);
    SyncFocusFrame();
}

}  // namespace plat::qt
