#include "platform/qt/toolbar_view.h"

#include <QtGui/QAction>
#include <QtGui/QIcon>
#include <QtWidgets/QToolBar>

#include "platform/qt/qt_convert.h"
#include "platform/qt/qt_text.h"

namespace plat::qt {

namespace ui = plat::ui;

QWidget* ToolbarView::Create(QWidget* parent) {
    tools_ = new QToolBar(parent);
    tools_->setFloatable(false);
    tools_->setMovable(false);
    tools_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    tools_->setFocusPolicy(Qt::NoFocus);
    return tools_;
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
}

}  // namespace plat::qt
