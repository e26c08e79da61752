#pragma once
// Lets our message loop stay the master while Qt windows are open: an idle
// pump under the real clock sleeps inside Qt's event dispatcher (so window
// events are delivered), woken by a precise timer at our next deadline and by
// socket notifiers on our watched descriptors. When Qt runs a loop of its own
// (a context menu, a drag), the dispatcher's about-to-block hook runs our due
// work and re-arms the wake-ups, so our timers, tasks and descriptors go on.

#include <QtCore/QObject>
#include <QtCore/QTimer>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/loop/message_loop.h"

class QSocketNotifier;

namespace plat::qt {

class QtIdleWaiter final : public plat::IdleWaiter {
public:
    // `beforeSleep` runs each time before the thread may sleep (the renderer
    // shows what code changed there).
    explicit QtIdleWaiter(std::function<void()> beforeSleep);
    ~QtIdleWaiter() override;
    QtIdleWaiter(const QtIdleWaiter&) = delete;
    QtIdleWaiter& operator=(const QtIdleWaiter&) = delete;

    void Wait(int64_t timeoutMs, const std::vector<int>& fds) override;
    void Wake() override;

    // How often the about-to-block hook ran our loop's work (for tests).
    int ForeignLoopPumps() const { return foreignPumps_; }

private:
    void Arm(int64_t timeoutMs, const std::vector<int>& fds);
    void OnAboutToBlock();

    std::function<void()> beforeSleep_;
    QObject context_;  // owns the connections; gone with the waiter
    QTimer deadline_;
    std::map<int, std::unique_ptr<QSocketNotifier>> notifiers_;
    std::vector<int> waitDepths_;  // delivery depth of each Wait on the stack
    bool woken_ = false;
    bool inHook_ = false;
    int foreignPumps_ = 0;
};

}  // namespace plat::qt
