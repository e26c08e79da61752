#pragma once
// An option button. Groups are the core's (same host and container): Qt's
// own exclusivity is off, and the buttons show the core's values.

#include "platform/qt/control_view.h"
#include "platform/ui/controls.h"

class QRadioButton;

namespace plat::qt {

class OptionButtonView final : public ControlView {
public:
    OptionButtonView(plat::ui::OptionButton& option, QtRenderer& renderer)
        : ControlView(option, renderer), option_(option) {}

protected:
    QWidget* Create(QWidget* parent) override;
    void SyncOwn() override;

private:
    plat::ui::OptionButton& option_;
    QRadioButton* radio_ = nullptr;
};

}  // namespace plat::qt
