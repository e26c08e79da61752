#pragma once
// A frame: a titled box whose inside holds the controls placed in it, at
// positions counted from the frame's top-left corner.

#include "platform/qt/control_view.h"
#include "platform/ui/controls.h"

class QGroupBox;

namespace plat::qt {

class FrameView final : public ControlView {
public:
    FrameView(plat::ui::Frame& frame, QtRenderer& renderer) : ControlView(frame, renderer) {}

protected:
    QWidget* Create(QWidget* parent) override;
    void SyncOwn() override;

private:
    QGroupBox* box_ = nullptr;
};

}  // namespace plat::qt
