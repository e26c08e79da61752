#include "fuzz/operator/window_gone_watch.h"

#include "platform/ui/form.h"

namespace fuzz_operator {

WindowGoneWatch::WindowGoneWatch(std::string window, std::function<void()> gone)
    : window_(std::move(window)), gone_(std::move(gone)), previous_(plat::ui::SetRenderer(this)) {}

WindowGoneWatch::~WindowGoneWatch() { plat::ui::SetRenderer(previous_); }

void WindowGoneWatch::Gone(plat::ui::Form& form) {
    if (form.Name() == window_ && gone_) gone_();
}

}  // namespace fuzz_operator
