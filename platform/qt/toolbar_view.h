#pragma once
// A toolbar: one tool button per button (a separator for separators), with
// caption, tool tip, image from the bar's image list, enabled, visible and,
// for two-state buttons, pressed. A click is the core's ClickButton; the
// buttons take no focus, so a click leaves the focus where it was. The bar
// takes the focus only from the core (Tab): its keys then reach the core
// (arrows, Home, End and Space are the core's, Enter goes through the window),
// and a frame in the highlight colour shows the core's hot button.

#include <string>
#include <vector>

#include "platform/qt/control_view.h"
#include "platform/ui/toolbar.h"

class QAction;
class QFrame;
class QToolBar;

namespace plat::qt {

class ToolbarView final : public ControlView {
public:
    ToolbarView(plat::ui::Toolbar& bar, QtRenderer& renderer) : ControlView(bar, renderer), bar_(bar) {}

protected:
    QWidget* Create(QWidget* parent) override;
    void SyncOwn() override;
    bool CoreHandlesKey(int32_t keyCode) const override;

private:
    void Rebuild();
    // Shows the frame around the hot button while the bar has the focus.
    void SyncFocusFrame();
    plat::ui::Toolbar& bar_;
    QToolBar* tools_ = nullptr;
    QFrame* focusFrame_ = nullptr;
    std::vector<QAction*> actions_;
    std::vector<std::string> keys_;  // the buttons the actions were made for
};

}  // namespace plat::qt
