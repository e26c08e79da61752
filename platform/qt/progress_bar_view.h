#pragma once
// A busy indicator. The core advances its frame about ten times a second
// while it runs (each frame a Changed), so the bar repaints at that rate and
// no faster; still, it shows empty.

#include "platform/qt/control_view.h"
#include "platform/ui/progress_bar.h"

class QProgressBar;

namespace plat::qt {

class ProgressBarView final : public ControlView {
public:
    // Steps of the moving bar; a full sweep takes this many frames.
    static constexpr int kSteps = 20;

    ProgressBarView(plat::ui::ProgressBar& bar, QtRenderer& renderer) : ControlView(bar, renderer), bar_(bar) {}

protected:
    QWidget* Create(QWidget* parent) override;
    void SyncOwn() override;
    bool FillsBackground() const override { return false; }

private:
    plat::ui::ProgressBar& bar_;
    QProgressBar* progress_ = nullptr;
};

}  // namespace plat::qt
