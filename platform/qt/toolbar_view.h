#pragma once
// A toolbar: one tool button per button (a separator for separators), with
// caption, tool tip, image from the bar's image list, enabled, visible and,
// for two-state buttons, pressed. A click is the core's ClickButton; the
// buttons take no focus.

#include <string>
#include <vector>

#include "platform/qt/control_view.h"
#include "platform/ui/toolbar.h"

class QAction;
class QToolBar;

namespace plat::qt {

class ToolbarView final : public ControlView {
public:
    ToolbarView(plat::ui::Toolbar& bar, QtRenderer& renderer) : ControlView(bar, renderer), bar_(bar) {}

protected:
    QWidget* Create(QWidget* parent) override;
    void SyncOwn() override;

private:
    void Rebuild();
    plat::ui::Toolbar& bar_;
    QToolBar* tools_ = nullptr;
    std::vector<QAction*> actions_;
    std::vector<std::string> keys_;  // the buttons the actions were made for
};

}  // namespace plat::qt
