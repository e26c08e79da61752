#pragma once
// The loop's inside, shared by the loop and its timers only.

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <deque>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/loop/message_loop.h"
#include "platform/loop/real_clock.h"
#include "platform/loop/timer.h"

namespace plat {
namespace loop_detail {

// Ids and creation order come from one counter per thread, shared by every
// loop: an id kept from a loop that was reset never names anything in its
// successor.
inline thread_local uint64_t tNextId = 1;

}  // namespace loop_detail

class MessageLoop::Impl {
public:
    explicit Impl(std::shared_ptr<Clock> clock)
        : clock_(clock ? std::move(clock) : std::make_shared<RealClock>()),
          virtual_(dynamic_cast<VirtualClock*>(clock_.get())),
          wakeFd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

    ~Impl() {
        Shutdown();
        if (wakeFd_ >= 0) close(wakeFd_);
    }

    Millis Now() const { return clock_->Now(); }

    // Drops every registration. The life token expires first, so that timers
    // and handlers destroyed while the containers go see a dead loop.
    void Shutdown() {
        life_.reset();
        auto posted = std::move(posted_);
        auto scheduled = std::move(scheduled_);
        auto watches = std::move(watches_);
        auto idle = std::move(idle_);
        posted_.clear();
        scheduled_.clear();
        dueOf_.clear();
        watches_.clear();
        idle_.clear();
        waiter_.reset();
    }

    void Post(std::function<void()> task) {
        posted_.push_back({loop_detail::tNextId++, std::move(task)});
        Wake();
        WakeWaiter();
    }

    uint64_t Schedule(Millis due, std::function<void()> task, Timer* timer) {
        const uint64_t id = loop_detail::tNextId++;
        Entry entry{std::move(task), timer, {}};
        if (timer) entry.timerAlive = timer->alive_;
        scheduled_.emplace(Key{due, id}, std::move(entry));
        dueOf_.emplace(id, due);
        // A handler run inside the waiter armed something earlier than it waits for.
        if (waiting_ > 0 && (!waitDeadline_ || due < *waitDeadline_)) WakeWaiter();
        return id;
    }

    void CancelEntry(uint64_t id) {
        auto it = dueOf_.find(id);
        if (it == dueOf_.end()) return;
        auto node = scheduled_.extract(Key{it->second, id});
        dueOf_.erase(it);
        // `node` (and the task it holds) goes only after the tables are consistent.
    }

    uint64_t AddWatch(int fd, std::function<void()> onReady) {
        const uint64_t id = loop_detail::tNextId++;
        watches_.emplace(id, Watch{fd, std::move(onReady), false});
        WakeWaiter();
        return id;
    }

    void RemoveWatch(uint64_t id) {
        auto node = watches_.extract(id);
        if (node) WakeWaiter();
    }

    uint64_t AddIdle(std::function<bool()> handler) {
        const uint64_t id = loop_detail::tNextId++;
        idle_.emplace(id, Idle{std::move(handler), false});
        return id;
    }

    void RemoveIdle(uint64_t id) {
        auto node = idle_.extract(id);
    }

    bool DoEvents() {
        if (RunPass()) return true;
        if (!life_) return false;  // reset from inside this pump: nothing left here
        if (RunIdleHandlers()) return true;
        if (!life_) return false;
        const std::optional<Millis> next = EarliestDeadline();
        if (virtual_) {
            if (!next) return false;
            virtual_->AdvanceTo(*next);
            return RunPass();
        }
        if (waiter_) {
            WaitInWaiter();
            return life_ && RunPass();
        }
        Millis timeout = kMaxIdleBlockMs;
        if (next) timeout = std::max<Millis>(0, *next - Now());
        Block(timeout);
        return RunPass();
    }

    bool DoEventsNoWait() { return RunPass(); }

    Millis NextWaitMs() const {
        if (!posted_.empty()) return 0;
        const std::optional<Millis> next = EarliestDeadline();
        if (!next) return -1;
        return std::max<Millis>(0, *next - Now());
    }

    std::vector<int> WatchedFds() const {
        std::vector<int> fds;
        for (const auto& [id, w] : watches_)
            if (!w.busy) fds.push_back(w.fd);
        return fds;
    }

    void SetIdleWaiter(std::shared_ptr<IdleWaiter> waiter) { waiter_ = std::move(waiter); }

    // Something changed that a waiter inside Wait must see at once.
    void WakeWaiter() {
        if (waiting_ > 0 && waiter_) waiter_->Wake();
    }

    std::shared_ptr<Clock> clock_;
    VirtualClock* virtual_;
    std::shared_ptr<char> life_ = std::make_shared<char>(0);
    const uint64_t id_ = loop_detail::tNextId++;
    Millis stallLimit_ = kDefaultStallLimitMs;
    int depth_ = 0;         // nested DoEvents calls running on this loop
    bool retired_ = false;  // replaced by Reset while pumping: freed when the pump unwinds

private:
    struct Posted {
        uint64_t seq;
        std::function<void()> task;
    };
    struct Entry {
        std::function<void()> task;
        Timer* timer;  // a timer tick when set, else a scheduled task
        std::weak_ptr<bool> timerAlive;
    };
    struct Watch {
        int fd;
        std::function<void()> onReady;
        bool busy;
    };
    struct Idle {
        std::function<bool()> handler;
        bool busy;
    };
    // Deadline, then creation order (ids only grow).
    using Key = std::pair<Millis, uint64_t>;

    static bool Blocked(const Entry& e) {
        if (!e.timer) return false;
        auto alive = e.timerAlive.lock();
        return alive && *alive && e.timer->ticking_;
    }

    std::optional<Millis> EarliestDeadline() const {
        for (const auto& [key, entry] : scheduled_)
            if (!Blocked(entry)) return key.first;
        return std::nullopt;
    }

    void Wake() {
        if (wakeFd_ < 0 || wakeSignalled_) return;
        const uint64_t one = 1;
        if (write(wakeFd_, &one, sizeof one) == static_cast<ssize_t>(sizeof one)) wakeSignalled_ = true;
    }

    void DrainWake() {
        if (!wakeSignalled_) return;
        uint64_t count = 0;
        if (read(wakeFd_, &count, sizeof count) < 0) { /* already drained */ }
        wakeSignalled_ = false;
    }

    // One pass over what was due when it started: posted tasks, due scheduled
    // tasks and timer ticks, ready descriptors. Anything created during the
    // pass waits for the next one, so a pass always ends.
    bool RunPass() {
        const uint64_t limit = loop_detail::tNextId;
        const Millis now = Now();
        bool ran = false;
        DrainWake();

        while (!posted_.empty() && posted_.front().seq < limit) {
            auto task = std::move(posted_.front().task);
            posted_.pop_front();
            ran = true;
            if (task) task();
        }

        Key from{std::numeric_limits<Millis>::min(), 0};
        for (;;) {
            auto it = scheduled_.lower_bound(from);
            while (it != scheduled_.end() && it->first.first <= now &&
                   (it->first.second >= limit || Blocked(it->second)))
                ++it;
            if (it == scheduled_.end() || it->first.first > now) break;
            from = it->first;
            dueOf_.erase(it->first.second);
            Entry entry = std::move(scheduled_.extract(it).mapped());
            ran = true;
            if (entry.timer)
                Tick(entry);
            else if (entry.task)
                entry.task();
        }

        if (RunReadyDescriptors(limit)) ran = true;
        return ran;
    }

    void Tick(const Entry& entry) {
        auto alive = entry.timerAlive.lock();
        if (!alive || !*alive) return;
        Timer* timer = entry.timer;
        timer->scheduled_ = 0;
        // Periodic: the next period starts now; the tick stays held back while
        // this handler runs (a nested pump skips it).
        if (timer->enabled_ && timer->interval_ > 0)
            timer->scheduled_ = Schedule(Now() + timer->interval_, nullptr, timer);
        timer->ticking_ = true;
        struct ClearBusy {
            std::shared_ptr<bool> alive;
            Timer* timer;
            ~ClearBusy() { if (*alive) timer->ticking_ = false; }
        } clearBusy{alive, timer};
        // A copy: the timer (and its OnTick) may be destroyed by the handler.
        auto onTick = timer->OnTick;
        if (onTick) onTick();
    }

    bool RunReadyDescriptors(uint64_t limit) {
        if (watches_.empty()) return false;
        std::vector<pollfd> fds;
        std::vector<uint64_t> ids;
        for (const auto& [id, w] : watches_) {
            if (id >= limit || w.busy) continue;
            fds.push_back({w.fd, POLLIN, 0});
            ids.push_back(id);
        }
        if (fds.empty() || poll(fds.data(), fds.size(), 0) <= 0) return false;
        bool ran = false;
        for (size_t i = 0; i < fds.size(); ++i) {
            if (fds[i].revents == 0) continue;
            auto it = watches_.find(ids[i]);
            if (it == watches_.end() || it->second.busy) continue;
            ran = true;
            auto onReady = it->second.onReady;
            const uint64_t id = ids[i];
            if (fds[i].revents & POLLNVAL) {
                watches_.erase(it);  // closed behind our back: one last call
                if (onReady) onReady();
                continue;
            }
            it->second.busy = true;
            struct ClearBusy {
                Impl* self;
                uint64_t id;
                ~ClearBusy() {
                    auto w = self->watches_.find(id);
                    if (w != self->watches_.end()) w->second.busy = false;
                }
            } clearBusy{this, id};
            if (onReady) onReady();
        }
        return ran;
    }

    bool RunIdleHandlers() {
        if (idle_.empty()) return false;
        std::vector<uint64_t> ids;
        for (const auto& [id, h] : idle_)
            if (!h.busy) ids.push_back(id);
        bool acted = false;
        for (uint64_t id : ids) {
            auto it = idle_.find(id);
            if (it == idle_.end() || it->second.busy) continue;
            auto handler = it->second.handler;
            it->second.busy = true;
            struct ClearBusy {
                Impl* self;
                uint64_t id;
                ~ClearBusy() {
                    auto h = self->idle_.find(id);
                    if (h != self->idle_.end()) h->second.busy = false;
                }
            } clearBusy{this, id};
            if (handler && handler()) acted = true;
        }
        return acted;
    }

    // Real clock with a waiter: sleeps in it until our next deadline, a watched
    // descriptor, or new work from a handler the waiter's dispatcher ran.
    void WaitInWaiter() {
        const Millis timeout = NextWaitMs();
        if (timeout == 0) return;
        auto waiter = waiter_;  // a handler run inside may replace it
        struct WaitScope {
            Impl* self;
            std::optional<Millis> saved;
            WaitScope(Impl* s, std::optional<Millis> deadline) : self(s), saved(s->waitDeadline_) {
                ++self->waiting_;
                self->waitDeadline_ = deadline;
            }
            ~WaitScope() {
                --self->waiting_;
                self->waitDeadline_ = saved;
            }
        } scope(this, timeout < 0 ? std::nullopt : std::optional<Millis>(Now() + timeout));
        waiter->Wait(timeout, WatchedFds());
    }

    // Real clock only: sleeps until the timeout, a watched descriptor or a Post.
    void Block(Millis timeout) {
        std::vector<pollfd> fds;
        if (wakeFd_ >= 0) fds.push_back({wakeFd_, POLLIN, 0});
        for (const auto& [id, w] : watches_)
            if (!w.busy) fds.push_back({w.fd, POLLIN, 0});
        const int ms = static_cast<int>(std::min<Millis>(timeout, INT_MAX));
        if (poll(fds.data(), fds.size(), ms) < 0 && errno != EINTR) {
            // A broken descriptor set must not turn the wait into a spin.
            usleep(static_cast<useconds_t>(std::min<Millis>(ms, kMaxIdleBlockMs)) * 1000);
        }
    }

    std::deque<Posted> posted_;
    std::map<Key, Entry> scheduled_;
    std::unordered_map<uint64_t, Millis> dueOf_;
    std::map<uint64_t, Watch> watches_;
    std::map<uint64_t, Idle> idle_;
    int wakeFd_;
    bool wakeSignalled_ = false;
    std::shared_ptr<IdleWaiter> waiter_;
    int waiting_ = 0;                      // nested waits inside the waiter
    std::optional<Millis> waitDeadline_;   // what the innermost of them waits for
};

}  // namespace plat
