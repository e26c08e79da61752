#pragma once
// Message boxes as real QMessageBox windows. The box opens application-modal
// without exec(): the answer is awaited in our own message loop (RunUntil),
// so our timers and descriptors keep running while it is open. Under the
// virtual clock no Qt is called: the service it replaced answers.

#include <functional>
#include <memory>

#include "platform/ui/msgbox.h"

class QMessageBox;

namespace plat::qt {

class QtMessageBoxService final : public plat::ui::MessageBoxService {
public:
    // `fallback` answers under the virtual clock (nullptr: the default button);
    // `flush` gives every window shown so far its widget, so that a box asked
    // for before the loop drew its window still finds the window it belongs to.
    explicit QtMessageBoxService(std::shared_ptr<plat::ui::MessageBoxService> fallback = nullptr,
                                 std::function<void()> flush = nullptr);
    int32_t Answer(const plat::ui::MessageBoxRequest& request) override;

    // The box being shown now (innermost), or nullptr; tests press its buttons.
    static QMessageBox* Current();

private:
    std::shared_ptr<plat::ui::MessageBoxService> fallback_;
    std::function<void()> flush_;
};

}  // namespace plat::qt
