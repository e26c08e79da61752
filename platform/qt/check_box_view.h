#pragma once
// A check box: 0 unchecked, 1 checked, 2 grayed. A click is the core's Click
// (which toggles); the box then shows the core's value, whatever Qt toggled.

#include "platform/qt/control_view.h"
#include "platform/ui/controls.h"

class QCheckBox;

namespace plat::qt {

class CheckBoxView final : public ControlView {
public:
    CheckBoxView(plat::ui::CheckBox& box, QtRenderer& renderer) : ControlView(box, renderer), box_(box) {}

protected:
    QWidget* Create(QWidget* parent) override;
    void SyncOwn() override;

private:
    plat::ui::CheckBox& box_;
    QCheckBox* check_ = nullptr;
};

}  // namespace plat::qt
