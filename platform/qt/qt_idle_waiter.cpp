#include "platform/qt/qt_idle_waiter.h"

#include <QtCore/QAbstractEventDispatcher>
#include <QtCore/QCoreApplication>
#include <QtCore/QSocketNotifier>

#include <algorithm>
#include <climits>

#include "platform/qt/qt_application.h"

namespace plat::qt {

QtIdleWaiter::QtIdleWaiter(std::function<void()> beforeSleep) : beforeSleep_(std::move(beforeSleep)) {
    QtApplication::Ensure();
    deadline_.setSingleShot(true);
    deadline_.setTimerType(Qt::PreciseTimer);
    if (auto* dispatcher = QAbstractEventDispatcher::instance())
        QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, &context_,
                         [this] { OnAboutToBlock(); });
}

QtIdleWaiter::~QtIdleWaiter() = default;

void QtIdleWaiter::Wait(int64_t timeoutMs, const std::vector<int>& fds) {
    if (beforeSleep_) beforeSleep_();
    QtApplication::RunDeferredDeletes();
    if (woken_) {
        woken_ = false;
        return;
    }
    Arm(timeoutMs == 0 ? -1 : timeoutMs, fds);
    auto* dispatcher = QAbstractEventDispatcher::instance();
    if (!dispatcher) return;
    // The about-to-block signal of this very call is ours, not a foreign loop's.
    waitDepths_.push_back(QtApplication::DeliveryDepth());
    struct Pop {
        std::vector<int>& depths;
        ~Pop() { depths.pop_back(); }
    } pop{waitDepths_};
    dispatcher->processEvents(timeoutMs == 0 ? QEventLoop::AllEvents : QEventLoop::WaitForMoreEvents);
    woken_ = false;
    QtApplication::RethrowPending();
}

void QtIdleWaiter::Wake() {
    woken_ = true;
    if (auto* dispatcher = QAbstractEventDispatcher::instance()) dispatcher->wakeUp();
}

void QtIdleWaiter::Arm(int64_t timeoutMs, const std::vector<int>& fds) {
    if (timeoutMs >= 0)
        deadline_.start(static_cast<int>(std::min<int64_t>(timeoutMs, INT_MAX)));
    else
        deadline_.stop();
    for (auto& [fd, notifier] : notifiers_)
        if (std::find(fds.begin(), fds.end(), fd) == fds.end()) notifier->setEnabled(false);
    for (int fd : fds) {
        auto& notifier = notifiers_[fd];
        if (!notifier) {
            notifier = std::make_unique<QSocketNotifier>(static_cast<qintptr>(fd), QSocketNotifier::Read);
            // One wake per arming: a descriptor nobody reads (its handler is
            // running further up) must not turn the wait into a spin.
            QSocketNotifier* raw = notifier.get();
            QObject::connect(raw, &QSocketNotifier::activated, &context_, [raw] { raw->setEnabled(false); });
        }
        notifier->setEnabled(true);
    }
}

void QtIdleWaiter::OnAboutToBlock() {
    if (inHook_) return;
    if (!waitDepths_.empty() && waitDepths_.back() == QtApplication::DeliveryDepth()) return;
    // Qt runs a loop of its own: our due work runs here, and the dispatcher
    // wakes up in time for what comes next.
    inHook_ = true;
    struct Leave {
        bool& flag;
        ~Leave() { flag = false; }
    } leave{inHook_};
    ++foreignPumps_;
    MessageLoop& loop = MessageLoop::Current();
    if (loop.Virtual()) return;
    QtApplication::Guarded([&] {
        loop.DoEventsNoWait();
        if (beforeSleep_) beforeSleep_();
    });
    Arm(loop.NextWaitMs(), loop.WatchedFds());
}

}  // namespace plat::qt
