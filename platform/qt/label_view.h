#pragma once
// A label: its caption, line breaks (CR LF) kept, wrapped within its width;
// "&" marks an access key as on a button and is not shown ("&&" shows one).

#include "platform/qt/control_view.h"
#include "platform/ui/controls.h"

class QLabel;

namespace plat::qt {

class LabelView final : public ControlView {
public:
    LabelView(plat::ui::Label& label, QtRenderer& renderer) : ControlView(label, renderer) {}

protected:
    QWidget* Create(QWidget* parent) override;
    void SyncOwn() override;

private:
    QLabel* label_ = nullptr;
};

}  // namespace plat::qt
