#pragma once
// A label: its caption, line breaks (CR LF) kept, wrapped within its width
// (unless it sizes itself to one line), aligned left, right or centred, its
// back filled or (BackStyle 0) transparent; "&" marks an access key as on a
// button and is not shown ("&&" shows one).

#include "platform/qt/control_view.h"
#include "platform/ui/controls.h"

class QLabel;

namespace plat::qt {

class LabelView final : public ControlView {
public:
    LabelView(plat::ui::Label& label, QtRenderer& renderer) : ControlView(label, renderer), caption_(label) {}

protected:
    QWidget* Create(QWidget* parent) override;
    void SyncOwn() override;
    bool FillsBackground() const override { return caption_.BackStyle() != 0; }

private:
    plat::ui::Label& caption_;
    QLabel* label_ = nullptr;
};

}  // namespace plat::qt
