#pragma once
// A busy indicator: shown or hidden (Visible) and running or still. While it
// runs, is visible and a renderer is installed, it advances its animation
// frame about ten times a second (each frame a Changed to the renderer), so a
// screen repaints it at that rate and no faster. Headless it never ticks, so
// it adds no timer to a test's waits.

#include <cstdint>
#include <memory>

#include "platform/ui/control.h"

namespace plat {
class Timer;
}

namespace plat::ui {

class ProgressBar : public Control {
public:
    static constexpr int32_t kFrameMs = 100;

    ProgressBar();
    ~ProgressBar() override;

    bool Running() const { return running_; }
    void SetRunning(bool on);
    // The animation frame, counting up while it runs.
    int64_t Frame() const { return frame_; }

    // Starts or stops the frame timer as running, visibility and the renderer
    // allow (a renderer installed after the bar started calls this once).
    void UpdateAnimation();

protected:
    void VisibilityChanged() override { UpdateAnimation(); }

private:
    void Tick();
    bool running_ = false;
    int64_t frame_ = 0;
    std::unique_ptr<plat::Timer> timer_;
};

}  // namespace plat::ui
