// UUCP lock files, in temporary lock folders.

#include "platform/serial/uucp_lock.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <ctime>
#include <fstream>

#include "platform/com/fs.h"
#include "tests/support/temp_dir.h"

namespace {

using plat::UucpLock;

class UucpLockTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(dir_.Path().empty());
        plat::fs::CreateFolder(Lock1());
        plat::fs::CreateFolder(Lock2());
        device_ = dir_.Write("dev/ttyUSB0", "");
        UseFolders(Lock1());
    }
    void TearDown() override { ::unsetenv("ORVIK_SERIAL_LOCK_DIRS"); }

    static void UseFolders(const std::string& list) { ::setenv("ORVIK_SERIAL_LOCK_DIRS", list.c_str(), 1); }
    std::string Lock1() const { return dir_.File("lock1"); }
    std::string Lock2() const { return dir_.File("lock2"); }
    std::string Read(const std::string& path) const {
        std::string bytes;
        plat::fs::ReadFile(path, bytes);
        return bytes;
    }
    void WriteLock(const std::string& folder, const std::string& text, time_t age = 0) {
        const std::string path = folder + "/LCK..ttyUSB0";
        std::ofstream(path, std::ios::binary) << text;
        if (age > 0) {
            timespec times[2] = {{::time(nullptr) - age, 0}, {::time(nullptr) - age, 0}};
            ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
        }
    }
    // The PID of a process that has ended.
    static pid_t DeadPid() {
        pid_t pid = ::fork();
        if (pid == 0) ::_exit(0);
        ::waitpid(pid, nullptr, 0);
        return pid;
    }

    test_support::TempDir dir_;
    std::string device_;
};

TEST_F(UucpLockTest, NamesTextAndPidsFollowTheConvention) {
    const std::string link = dir_.File("by-id-link");
    ASSERT_EQ(::symlink(device_.c_str(), link.c_str()), 0);
    EXPECT_EQ(UucpLock::LockName(link), "LCK..ttyUSB0");
    EXPECT_EQ(UucpLock::LockName("/dev/pts/7"), "LCK..7");
    EXPECT_EQ(UucpLock::LockText(42), "        42\n");
    EXPECT_EQ(UucpLock::LockText(4194304), "   4194304\n");
    EXPECT_EQ(UucpLock::ParsePid("      1234\n"), 1234);
    EXPECT_EQ(UucpLock::ParsePid("\t77 uucp\nsecond line"), 77);
    EXPECT_EQ(UucpLock::ParsePid("1234"), 1234);
    EXPECT_EQ(UucpLock::ParsePid(""), 0);
    EXPECT_EQ(UucpLock::ParsePid("pid 12"), 0);
    EXPECT_EQ(UucpLock::ParsePid("\n12"), 0) << "only the first line counts";
    EXPECT_EQ(UucpLock::ParsePid("99999999999999999999"), 0);
}

TEST_F(UucpLockTest, FoldersComeOnceEachAndMissingOnesAreLeftOut) {
    const std::string alias = dir_.File("alias");
    ASSERT_EQ(::symlink(Lock1().c_str(), alias.c_str()), 0);
    UseFolders(Lock1() + ":" + alias + "::" + dir_.File("missing") + ":" + Lock2());
    EXPECT_EQ(UucpLock::LockFolders(), (std::vector<std::string>{plat::fs::RealPath(Lock1()), plat::fs::RealPath(Lock2())}));
}

TEST_F(UucpLockTest, OurLockHoldsOurPidAndGoesOnRelease) {
    UseFolders(Lock1() + ":" + Lock2());
    {
        UucpLock lock;
        ASSERT_EQ(lock.Acquire(device_), UucpLock::Result::Free);
        for (const std::string& folder : {Lock1(), Lock2()}) {
            const std::string path = folder + "/LCK..ttyUSB0";
            EXPECT_EQ(Read(path), UucpLock::LockText(::getpid()));
            struct stat st {};
            ASSERT_EQ(::stat(path.c_str(), &st), 0);
            EXPECT_EQ(st.st_mode & 07777, 0644u);
        }
        EXPECT_EQ(plat::fs::ListFiles(Lock1(), "*"), std::vector<std::string>{"LCK..ttyUSB0"}) << "no temporary file left";
        // A second lock in this process sees the first as a live lock.
        UucpLock second;
        pid_t holder = 0;
        EXPECT_EQ(second.Acquire(device_, &holder), UucpLock::Result::Busy);
        EXPECT_EQ(holder, ::getpid());
    }
    EXPECT_TRUE(plat::fs::ListFiles(Lock1(), "*").empty());
    EXPECT_TRUE(plat::fs::ListFiles(Lock2(), "*").empty());
}

TEST_F(UucpLockTest, LiveLocksMeanBusyAndNothingOfOursIsLeft) {
    UseFolders(Lock1() + ":" + Lock2());
    WriteLock(Lock2(), UucpLock::LockText(::getppid()));
    UucpLock lock;
    pid_t holder = 0;
    EXPECT_EQ(lock.Acquire(device_, &holder), UucpLock::Result::Busy);
    EXPECT_EQ(holder, ::getppid());
    EXPECT_TRUE(plat::fs::ListFiles(Lock1(), "*").empty());
    EXPECT_EQ(Read(Lock2() + "/LCK..ttyUSB0"), UucpLock::LockText(::getppid()));

    // Written leniently by another program: still its PID.
    WriteLock(Lock2(), "  " + std::to_string(::getppid()) + "\n");
    EXPECT_EQ(lock.Acquire(device_), UucpLock::Result::Busy);
}

TEST_F(UucpLockTest, StaleLocksAreReplaced) {
    WriteLock(Lock1(), UucpLock::LockText(DeadPid()));
    UucpLock lock;
    ASSERT_EQ(lock.Acquire(device_), UucpLock::Result::Free);
    EXPECT_EQ(Read(Lock1() + "/LCK..ttyUSB0"), UucpLock::LockText(::getpid()));
}

// A lock without a PID may be one that its owner is writing right now.
TEST_F(UucpLockTest, UnreadableLocksAreStaleOnlyOnceTheyAreOld) {
    WriteLock(Lock1(), "");
    UucpLock lock;
    pid_t holder = -1;
    EXPECT_EQ(lock.Acquire(device_, &holder), UucpLock::Result::Busy);
    EXPECT_EQ(holder, 0);
    WriteLock(Lock1(), "garbage", UucpLock::kUnreadableGraceSeconds + 5);
    EXPECT_EQ(lock.Acquire(device_), UucpLock::Result::Free);
    EXPECT_EQ(Read(Lock1() + "/LCK..ttyUSB0"), UucpLock::LockText(::getpid()));
}

TEST_F(UucpLockTest, ReleaseLeavesALockThatIsNoLongerOurs) {
    UucpLock lock;
    ASSERT_EQ(lock.Acquire(device_), UucpLock::Result::Free);
    WriteLock(Lock1(), UucpLock::LockText(::getppid()));
    lock.Release();
    EXPECT_EQ(Read(Lock1() + "/LCK..ttyUSB0"), UucpLock::LockText(::getppid()));
}

TEST_F(UucpLockTest, WithoutLockFoldersThePortIsFree) {
    UseFolders(dir_.File("missing"));
    UucpLock lock;
    EXPECT_EQ(lock.Acquire(device_), UucpLock::Result::Free);
    EXPECT_TRUE(lock.Held().empty());
}

}  // namespace
