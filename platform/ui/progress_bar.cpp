#include "platform/ui/progress_bar.h"

#include "platform/loop/message_loop.h"
#include "platform/ui/renderer.h"

namespace plat::ui {

ProgressBar::ProgressBar() = default;

ProgressBar::~ProgressBar() = default;

void ProgressBar::SetRunning(bool on) {
    if (on == running_) return;
    running_ = on;
    NotifyChanged();
    UpdateAnimation();
}

void ProgressBar::UpdateAnimation() {
    const bool animate = running_ && Visible() && Host() && CurrentRenderer();
    if (!animate) {
        if (timer_) timer_->SetEnabled(false);
        return;
    }
    if (!timer_) {
        timer_ = std::make_unique<plat::Timer>();
        timer_->SetInterval(kFrameMs);
        timer_->OnTick = [this] { Tick(); };
    }
    timer_->SetEnabled(true);
}

void ProgressBar::Tick() {
    if (!running_ || !Visible() || !CurrentRenderer()) {
        timer_->SetEnabled(false);
        return;
    }
    ++frame_;
    NotifyChanged();
}

}  // namespace plat::ui
