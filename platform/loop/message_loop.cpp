#include "platform/loop/message_loop.h"

#include <string>

#include "platform/loop/loop_stall.h"
#include "platform/loop/loop_wait.h"
#include "platform/loop/message_loop_impl.h"

namespace plat {

namespace {

thread_local std::unique_ptr<MessageLoop> tCurrent;
// Loops replaced by Reset while one of their pumps was running.
thread_local std::vector<std::unique_ptr<MessageLoop>> tRetired;

void FreeRetired(MessageLoop* loop) {
    for (auto it = tRetired.begin(); it != tRetired.end(); ++it) {
        if (it->get() == loop) {
            auto dead = std::move(*it);
            tRetired.erase(it);
            return;
        }
    }
}

// Marks a loop as running, so that a Reset from inside it frees it only
// once the outermost pump (or RunUntil) has returned.
class PumpScope {
public:
    explicit PumpScope(MessageLoop* loop) : loop_(loop), impl_(loop->impl()) { ++impl_.depth_; }
    ~PumpScope() {
        if (--impl_.depth_ == 0 && impl_.retired_) FreeRetired(loop_);
    }
    PumpScope(const PumpScope&) = delete;
    PumpScope& operator=(const PumpScope&) = delete;

private:
    MessageLoop* loop_;
    MessageLoop::Impl& impl_;
};

}  // namespace

MessageLoop::MessageLoop(std::shared_ptr<Clock> clock) : impl_(std::make_unique<Impl>(std::move(clock))) {}

MessageLoop::~MessageLoop() = default;

MessageLoop& MessageLoop::Current() {
    if (!tCurrent) tCurrent = std::make_unique<MessageLoop>(nullptr);
    return *tCurrent;
}

void MessageLoop::Reset(std::shared_ptr<Clock> clock) {
    auto old = std::move(tCurrent);
    tCurrent = std::make_unique<MessageLoop>(std::move(clock));
    if (!old) return;
    old->impl_->Shutdown();
    if (old->impl_->depth_ > 0) {
        old->impl_->retired_ = true;
        tRetired.push_back(std::move(old));
    }
}

const Clock& MessageLoop::GetClock() const { return *impl_->clock_; }

VirtualClock* MessageLoop::Virtual() { return impl_->virtual_; }

bool MessageLoop::DoEvents() {
    PumpScope running(this);
    return impl_->DoEvents();
}

bool MessageLoop::DoEventsNoWait() {
    PumpScope running(this);
    return impl_->DoEventsNoWait();
}

void MessageLoop::SetIdleWaiter(std::shared_ptr<IdleWaiter> waiter) { impl_->SetIdleWaiter(std::move(waiter)); }

Millis MessageLoop::NextWaitMs() const { return impl_->NextWaitMs(); }

std::vector<int> MessageLoop::WatchedFds() const { return impl_->WatchedFds(); }

void MessageLoop::Post(std::function<void()> task) { impl_->Post(std::move(task)); }

uint64_t MessageLoop::PostDelayed(Millis delayMs, std::function<void()> task) {
    return impl_->Schedule(Now() + std::max<Millis>(0, delayMs), std::move(task), nullptr);
}

void MessageLoop::Cancel(uint64_t id) { impl_->CancelEntry(id); }

uint64_t MessageLoop::WatchFd(int fd, std::function<void()> onReady) {
    return impl_->AddWatch(fd, std::move(onReady));
}

void MessageLoop::Unwatch(uint64_t id) { impl_->RemoveWatch(id); }

uint64_t MessageLoop::AddIdleHandler(std::function<bool()> handler) {
    return impl_->AddIdle(std::move(handler));
}

void MessageLoop::RemoveIdleHandler(uint64_t id) { impl_->RemoveIdle(id); }

void MessageLoop::RunUntil(const std::function<bool()>& done) {
    PumpScope running(this);
    // LoopWait pumps the thread's current loop: after a Reset from a handler,
    // the wait goes on in the new one.
    LoopWait wait([](const std::string& reason) { throw LoopStall("Message loop stalled: " + reason); });
    while (!done()) wait.Pump();
}

Millis MessageLoop::StallLimit() const { return impl_->stallLimit_; }

void MessageLoop::SetStallLimit(Millis limitMs) { impl_->stallLimit_ = std::max<Millis>(0, limitMs); }

uint64_t MessageLoop::Id() const { return impl_->id_; }

}  // namespace plat
