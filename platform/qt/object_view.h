#pragma once
// A control object added by ProgID or by the window's code. An embeddable
// control (plat::ui::UserControl) shows as a panel holding its own controls;
// other objects (an instrument driver's control) draw nothing.

#include "platform/qt/control_view.h"
#include "platform/ui/control.h"

namespace plat::qt {

class ObjectView final : public ControlView {
public:
    ObjectView(plat::ui::ObjectControl& control, QtRenderer& renderer) : ControlView(control, renderer) {}

protected:
    QWidget* Create(QWidget* parent) override;
    void SyncOwn() override;
    bool ShowsAnything() const override;
};

}  // namespace plat::qt
