#pragma once
// A control kind that draws nothing of its own (an image list) or that this
// renderer does not know: nothing shows at its place.

#include "platform/qt/control_view.h"

namespace plat::qt {

class PlaceholderView final : public ControlView {
public:
    using ControlView::ControlView;

protected:
    QWidget* Create(QWidget* parent) override { return new QWidget(parent); }
    bool ShowsAnything() const override { return false; }
};

}  // namespace plat::qt
