#pragma once
// A control kind this renderer does not draw: an empty area at its place.

#include "platform/qt/control_view.h"

namespace plat::qt {

class PlaceholderView final : public ControlView {
public:
    using ControlView::ControlView;

protected:
    QWidget* Create(QWidget* parent) override { return new QWidget(parent); }
};

}  // namespace plat::qt
