#pragma once
// A command button. Qt's own default and auto-default handling is off: Enter
// and Esc reach the core through the window (KeyRouter), so each acts once.

#include "platform/qt/control_view.h"
#include "platform/ui/controls.h"

class QPushButton;

namespace plat::qt {

class CommandButtonView final : public ControlView {
public:
    CommandButtonView(plat::ui::CommandButton& button, QtRenderer& renderer)
        : ControlView(button, renderer), button_(button) {}

protected:
    QWidget* Create(QWidget* parent) override;
    void SyncOwn() override;
    bool FillsBackground() const override { return false; }

private:
    plat::ui::CommandButton& button_;
    QPushButton* push_ = nullptr;
};

}  // namespace plat::qt
