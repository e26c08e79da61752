// The loop under the real clock: waits block instead of spinning and wake for
// timers, descriptors and posted tasks. Short times only.
#include "platform/loop/message_loop.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>

namespace plat {
namespace {

using Steady = std::chrono::steady_clock;

long ElapsedMs(Steady::time_point since) {
    return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(Steady::now() - since).count());
}

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& tv) { return static_cast<double>(tv.tv_sec) + tv.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

class RealLoop : public ::testing::Test {
protected:
    void SetUp() override { MessageLoop::Reset(); }
    void TearDown() override { MessageLoop::Reset(); }
};

TEST_F(RealLoop, TimerFiresAfterItsIntervalWithoutSpinning) {
    MessageLoop& loop = MessageLoop::Current();
    ASSERT_EQ(loop.Virtual(), nullptr);
    Timer t;
    t.OnTick = [&] { t.SetInterval(0); };
    const auto start = Steady::now();
    const double cpu0 = CpuSeconds();
    t.SetInterval(30);
    t.SetEnabled(true);
    int pumps = 0;
    while (t.Interval() != 0) {
        loop.DoEvents();
        ++pumps;
    }
    const long elapsed = ElapsedMs(start);
    EXPECT_GE(elapsed, 29);  // whole milliseconds on both sides
    EXPECT_LT(elapsed, 500);
    EXPECT_LE(pumps, 3) << "an idle pump blocks until the deadline";
    EXPECT_LT(CpuSeconds() - cpu0, 0.02);
}

TEST_F(RealLoop, IdlePumpWithoutDeadlineBlocksAtMostTheCap) {
    MessageLoop& loop = MessageLoop::Current();
    const auto start = Steady::now();
    EXPECT_FALSE(loop.DoEvents());
    const long elapsed = ElapsedMs(start);
    EXPECT_GE(elapsed, MessageLoop::kMaxIdleBlockMs - 1);
    EXPECT_LT(elapsed, 1000);
}

TEST_F(RealLoop, PostedTaskRunsWithoutBlocking) {
    MessageLoop& loop = MessageLoop::Current();
    loop.PostDelayed(2000, [] {});
    bool ran = false;
    loop.Post([&] { ran = true; });
    const auto start = Steady::now();
    EXPECT_TRUE(loop.DoEvents());
    EXPECT_TRUE(ran);
    EXPECT_LT(ElapsedMs(start), 20);
}

TEST_F(RealLoop, DescriptorWakesAnIdlePumpBeforeTheNextDeadline) {
    MessageLoop& loop = MessageLoop::Current();
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    std::string got;
    const uint64_t watch = loop.WatchFd(fds[0], [&] {
        char buf[8];
        const ssize_t n = read(fds[0], buf, sizeof buf);
        if (n > 0) got.append(buf, static_cast<size_t>(n));
    });
    loop.PostDelayed(2000, [] {});  // the only deadline is far away
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        usleep(30 * 1000);
        _exit(write(fds[1], "ok", 2) == 2 ? 0 : 1);
    }
    const auto start = Steady::now();
    while (got.size() < 2 && ElapsedMs(start) < 1500) loop.DoEvents();
    const long elapsed = ElapsedMs(start);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_EQ(got, "ok");
    EXPECT_GE(elapsed, 25);
    EXPECT_LT(elapsed, 500);
    loop.Unwatch(watch);
    close(fds[0]);
    close(fds[1]);
}

TEST_F(RealLoop, HungUpDescriptorIsReportedAndClosedOneIsDropped) {
    MessageLoop& loop = MessageLoop::Current();
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    int hangups = 0;
    uint64_t watch = 0;
    watch = loop.WatchFd(fds[0], [&] {
        char c;
        if (read(fds[0], &c, 1) == 0) {
            ++hangups;
            loop.Unwatch(watch);
        }
    });
    close(fds[1]);
    EXPECT_TRUE(loop.DoEvents());
    EXPECT_EQ(hangups, 1);
    close(fds[0]);

    int other[2];
    ASSERT_EQ(pipe(other), 0);
    const int readEnd = other[0];
    close(other[1]);
    int calls = 0;
    loop.WatchFd(readEnd, [&] { ++calls; });
    close(readEnd);  // closed without Unwatch
    EXPECT_TRUE(loop.DoEvents());
    EXPECT_EQ(calls, 1);
    const auto start = Steady::now();
    EXPECT_FALSE(loop.DoEvents()) << "the dead descriptor no longer wakes the loop";
    EXPECT_EQ(calls, 1);
    EXPECT_GE(ElapsedMs(start), MessageLoop::kMaxIdleBlockMs - 1);
}

}  // namespace
}  // namespace plat
