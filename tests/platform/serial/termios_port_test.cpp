// The termios port against a pseudo-terminal, under the real clock.

#include "platform/com/fs.h"
#include "platform/loop/message_loop.h"
#include "platform/serial/serial_port.h"
#include "platform/serial/uucp_lock.h"
#include "tests/support/serial/fake_serial_port.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int32_t kPort = 7;
constexpr char kSettings[] = "9600,N,8,1";

class TermiosPortTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::MessageLoop::Reset();
        char name[128] = {};
        ASSERT_EQ(::openpty(&master_, &slave_, name, nullptr, nullptr), 0) << errno;
        slavePath_ = name;
        ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
        registry_.MapPort(kPort, slavePath_);
    }
    void TearDown() override {
        if (master_ >= 0) ::close(master_);
        if (slave_ >= 0) ::close(slave_);
        plat::MessageLoop::Reset();
    }

    void CloseMaster() {
        ::close(master_);
        master_ = -1;
    }

    void SendFromInstrument(const std::string& bytes) {
        ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }

    // What the port wrote, collected for up to `ms`.
    std::string ReceiveAtInstrument(std::size_t expected, int ms = 500) {
        std::string got;
        const plat::Millis end = plat::RealClock().Now() + ms;
        while (got.size() < expected && plat::RealClock().Now() < end) {
            pollfd p{master_, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0) continue;
            char buf[256];
            ssize_t n = ::read(master_, buf, sizeof buf);
            if (n > 0) got.append(buf, static_cast<std::size_t>(n));
        }
        return got;
    }

    // Pumps the loop until `done` or `ms` have passed; true when done.
    static bool PumpUntil(const std::function<bool()>& done, int ms) {
        const plat::Millis end = plat::RealClock().Now() + ms;
        while (!done()) {
            if (plat::RealClock().Now() >= end) return false;
            plat::MessageLoop::Current().DoEvents();
        }
        return true;
    }

    static int32_t Count(plat::SerialPort& port) {
        plat::PortError e = plat::PortError::None;
        int32_t n = port.InBufferCount(&e);
        return e == plat::PortError::None ? n : -1;
    }

    serialtest::RegistryFileScope registry_;
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
};

TEST_F(TermiosPortTest, OpensRawAt9600EightNoneOne) {
    auto port = plat::CreateTermiosPort();
    ASSERT_EQ(port->Open(kPort, kSettings), plat::PortError::None);
    EXPECT_TRUE(port->IsOpen());

    termios tio{};
    ASSERT_EQ(::tcgetattr(master_, &tio), 0);
    EXPECT_EQ(::cfgetospeed(&tio), static_cast<speed_t>(B9600));
    EXPECT_EQ(::cfgetispeed(&tio), static_cast<speed_t>(B9600));
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | ICRNL), 0u);
    EXPECT_EQ(tio.c_oflag & OPOST, 0u);
}

TEST_F(TermiosPortTest, WritesUnchangedAndReadsWhatArrived) {
    auto port = plat::CreateTermiosPort();
    ASSERT_EQ(port->Open(kPort, kSettings), plat::PortError::None);

    ASSERT_EQ(port->Write("[VER]"), plat::PortError::None);
    EXPECT_EQ(ReceiveAtInstrument(5), "[VER]");

    // CR, LF and control bytes pass untouched in raw mode.
    const std::string reply = "V2.1\r\n\x03\x11";
    SendFromInstrument(reply);
    ASSERT_TRUE(PumpUntil([&] { return Count(*port) == static_cast<int32_t>(reply.size()); }, 500));
    std::string got;
    ASSERT_EQ(port->Read(got), plat::PortError::None);
    EXPECT_EQ(got, reply);
    got.clear();
    EXPECT_EQ(port->Read(got), plat::PortError::None);
    EXPECT_EQ(got, "");
}

TEST_F(TermiosPortTest, ArrivingInputIsWhatAPumpRunsFor) {
    auto port = plat::CreateTermiosPort();
    ASSERT_EQ(port->Open(kPort, kSettings), plat::PortError::None);
    SendFromInstrument("x");
    const plat::Millis start = plat::RealClock().Now();
    // Without the watch this pump would idle for kMaxIdleBlockMs and report nothing.
    EXPECT_TRUE(plat::MessageLoop::Current().DoEvents());
    EXPECT_LT(plat::RealClock().Now() - start, plat::MessageLoop::kMaxIdleBlockMs);
    EXPECT_EQ(Count(*port), 1);

    port->Close();
    SendFromInstrument("y");
    EXPECT_FALSE(plat::MessageLoop::Current().DoEvents()) << "a closed port is no longer watched";
}

TEST_F(TermiosPortTest, SplitReplyIsAssembledByTheReader) {
    auto port = plat::CreateTermiosPort();
    ASSERT_EQ(port->Open(kPort, kSettings), plat::PortError::None);
    std::string got;

    SendFromInstrument("DownLoad ");
    ASSERT_TRUE(PumpUntil([&] { return Count(*port) == 9; }, 500));
    ASSERT_EQ(port->Read(got), plat::PortError::None);
    EXPECT_EQ(got, "DownLoad ");

    SendFromInstrument("Make: ACME\r\n");
    ASSERT_TRUE(PumpUntil(
        [&] {
            if (Count(*port) > 0) {
                EXPECT_EQ(port->Read(got), plat::PortError::None);
            }
            return got.size() >= 21;
        },
        500));
    EXPECT_EQ(got, "DownLoad Make: ACME\r\n");
}

TEST_F(TermiosPortTest, NothingArrivingIsNoError) {
    auto port = plat::CreateTermiosPort();
    ASSERT_EQ(port->Open(kPort, kSettings), plat::PortError::None);
    EXPECT_FALSE(PumpUntil([&] { return Count(*port) != 0; }, 30));
    std::string got;
    EXPECT_EQ(port->Read(got), plat::PortError::None);
    EXPECT_EQ(got, "");
}

TEST_F(TermiosPortTest, InputOlderThanTheOpenAndDiscardedInputAreGone) {
    // The pty's own default mode would echo and translate: make it raw first.
    termios tio{};
    ::tcgetattr(slave_, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(slave_, TCSANOW, &tio);
    SendFromInstrument("stale");
    auto port = plat::CreateTermiosPort();
    ASSERT_EQ(port->Open(kPort, kSettings), plat::PortError::None);
    EXPECT_FALSE(PumpUntil([&] { return Count(*port) != 0; }, 30));

    SendFromInstrument("xyz");
    ASSERT_TRUE(PumpUntil([&] { return Count(*port) == 3; }, 500));
    port->DiscardInput();
    EXPECT_EQ(Count(*port), 0);
}

TEST_F(TermiosPortTest, HangUpFailsReadsCountsAndWrites) {
    auto port = plat::CreateTermiosPort();
    ASSERT_EQ(port->Open(kPort, kSettings), plat::PortError::None);
    ::close(slave_);
    slave_ = -1;
    CloseMaster();

    EXPECT_TRUE(PumpUntil([&] { return port->HungUp(); }, 500));
    ASSERT_TRUE(PumpUntil([&] { return Count(*port) < 0; }, 500));
    plat::PortError e = plat::PortError::None;
    EXPECT_EQ(port->InBufferCount(&e), -1);
    EXPECT_EQ(e, plat::PortError::Io);
    std::string got;
    EXPECT_EQ(port->Read(got), plat::PortError::Io);
    EXPECT_EQ(port->Write("[VER]"), plat::PortError::Io);

    // The dead descriptor no longer wakes the loop: an idle pump waits again.
    const plat::Millis start = plat::RealClock().Now();
    for (int i = 0; i < 3; ++i) plat::MessageLoop::Current().DoEvents();
    EXPECT_GE(plat::RealClock().Now() - start, 2 * plat::MessageLoop::kMaxIdleBlockMs);

    port->Close();
    EXPECT_FALSE(port->IsOpen());
    EXPECT_FALSE(port->HungUp());
}

TEST_F(TermiosPortTest, SecondUserIsToldBusyUntilTheFirstCloses) {
    auto first = plat::CreateTermiosPort();
    auto second = plat::CreateTermiosPort();
    ASSERT_EQ(first->Open(kPort, kSettings), plat::PortError::None);
    EXPECT_EQ(second->Open(kPort, kSettings), plat::PortError::Busy);
    EXPECT_FALSE(second->IsOpen());

    first->Close();
    EXPECT_EQ(second->Open(kPort, kSettings), plat::PortError::None);
    first.reset();  // a closed port's destruction leaves the other alone
    EXPECT_EQ(second->Write("[Q]"), plat::PortError::None);
    EXPECT_EQ(ReceiveAtInstrument(3), "[Q]");
}

// Another process on the line until it is destroyed: with only the slave
// opened afresh (a terminal program, in exclusive mode if asked), or keeping
// the master and slave it inherits (the simulator at the line's far end).
class OtherProcess {
public:
    OtherProcess(int master, int slave, const std::string& slavePath, bool farEnd, bool exclusive = false) {
        int ready[2];
        if (::pipe(ready) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            bool ok = true;
            if (!farEnd) {
                ::close(master);
                ::close(slave);
                const int fd = ::open(slavePath.c_str(), O_RDWR | O_NOCTTY);
                ok = fd >= 0 && (!exclusive || ::ioctl(fd, TIOCEXCL) == 0);
            }
            char c = ok ? 'y' : 'n';
            (void)::write(ready[1], &c, 1);
            ::pause();
            ::_exit(0);
        }
        char c = 0;
        ready_ = ::read(ready[0], &c, 1) == 1 && c == 'y';
        ::close(ready[0]);
        ::close(ready[1]);
    }
    ~OtherProcess() { End(); }
    bool Ready() const { return ready_; }
    void End() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
    bool ready_ = false;
};

// A terminal program left open on the port takes no lock of any kind.
TEST_F(TermiosPortTest, AnotherProcessWithTheDeviceOpenMeansBusy) {
    OtherProcess holder(master_, slave_, slavePath_, false);
    ASSERT_TRUE(holder.Ready());
    auto port = plat::CreateTermiosPort();
    EXPECT_EQ(port->Open(kPort, kSettings), plat::PortError::Busy);
    EXPECT_FALSE(port->IsOpen());
    EXPECT_TRUE(plat::fs::ListFiles(registry_.LockDir(), "*").empty()) << "the lock goes with the failed open";

    holder.End();
    EXPECT_EQ(port->Open(kPort, kSettings), plat::PortError::None);
}

TEST_F(TermiosPortTest, TheFarEndOfAPseudoTerminalIsNoHolder) {
    OtherProcess farEnd(master_, slave_, slavePath_, true);
    ASSERT_TRUE(farEnd.Ready());
    auto port = plat::CreateTermiosPort();
    EXPECT_EQ(port->Open(kPort, kSettings), plat::PortError::None);
}

TEST_F(TermiosPortTest, LiveUucpLockMeansBusyAndOursComesAndGoes) {
    const std::string lock = registry_.LockDir() + "/" + plat::UucpLock::LockName(slavePath_);
    std::ofstream(lock) << plat::UucpLock::LockText(::getppid());
    auto port = plat::CreateTermiosPort();
    EXPECT_EQ(port->Open(kPort, kSettings), plat::PortError::Busy);
    ::unlink(lock.c_str());

    ASSERT_EQ(port->Open(kPort, kSettings), plat::PortError::None);
    std::string text;
    ASSERT_TRUE(plat::fs::ReadFile(lock, text));
    EXPECT_EQ(text, plat::UucpLock::LockText(::getpid()));
    port->Close();
    EXPECT_FALSE(plat::fs::FileExists(lock));
}

// Root opens a port in exclusive mode all the same: the mode must be asked.
// It outlives a holder that was killed, and is then no reason to refuse.
TEST_F(TermiosPortTest, ExclusiveModeIsBusyOnlyWhileItsHolderLives) {
    OtherProcess holder(master_, slave_, slavePath_, false, true);
    ASSERT_TRUE(holder.Ready());
    auto port = plat::CreateTermiosPort();
    EXPECT_EQ(port->Open(kPort, kSettings), plat::PortError::Busy);
    EXPECT_TRUE(plat::fs::ListFiles(registry_.LockDir(), "*").empty());

    holder.End();
    int exclusive = 0;
    ASSERT_EQ(::ioctl(slave_, TIOCGEXCL, &exclusive), 0);
    ASSERT_NE(exclusive, 0) << "the killed holder's mode stays on the line";
    const int probe = ::open(slavePath_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (probe < 0) {  // without the privilege the kernel itself refuses: busy as before
        EXPECT_EQ(errno, EBUSY);
        EXPECT_EQ(port->Open(kPort, kSettings), plat::PortError::Busy);
        return;
    }
    ::close(probe);
    ASSERT_EQ(port->Open(kPort, kSettings), plat::PortError::None);
    EXPECT_EQ(port->Write("[Q]"), plat::PortError::None);
    EXPECT_EQ(ReceiveAtInstrument(3), "[Q]");
}

TEST_F(TermiosPortTest, DestroyingAnOpenPortReleasesTheLock) {
    plat::CreateTermiosPort()->Open(kPort, kSettings);  // destroyed at once, still open
    auto port = plat::CreateTermiosPort();
    EXPECT_EQ(port->Open(kPort, kSettings), plat::PortError::None);
}

TEST_F(TermiosPortTest, MissingOrUnsuitableDevicesAreNoSuchDevice) {
    auto port = plat::CreateTermiosPort();
    registry_.MapPort(8, "/nonexistent/ttyUSB9");
    EXPECT_EQ(port->Open(8, kSettings), plat::PortError::NoSuchDevice);
    EXPECT_EQ(port->Open(0, kSettings), plat::PortError::NoSuchDevice);

    const std::string plainFile = registry_.Path() + ".notatty";
    std::ofstream(plainFile) << "x";
    registry_.MapPort(9, plainFile);
    EXPECT_EQ(port->Open(9, kSettings), plat::PortError::NoSuchDevice);
    EXPECT_FALSE(port->IsOpen());
    ::unlink(plainFile.c_str());
}

TEST_F(TermiosPortTest, BadSettingsAreRefusedBeforeTheDeviceIsTouched) {
    auto port = plat::CreateTermiosPort();
    for (const char* bad : {"", "9600", "9600,X,8,1", "9600,N,9,1", "9600,N,8,3", "9601,N,8,1", "fast,N,8,1"})
        EXPECT_EQ(port->Open(kPort, bad), plat::PortError::BadSettings) << '"' << bad << '"';
    EXPECT_FALSE(port->IsOpen());
    // Nothing was locked by the refusals.
    EXPECT_EQ(plat::CreateTermiosPort()->Open(kPort, kSettings), plat::PortError::None);
}

TEST_F(TermiosPortTest, ClosedPortFailsEveryOperation) {
    auto port = plat::CreateTermiosPort();
    std::string got;
    EXPECT_EQ(port->Write("x"), plat::PortError::Io);
    EXPECT_EQ(port->Read(got), plat::PortError::Io);
    plat::PortError e = plat::PortError::None;
    EXPECT_EQ(port->InBufferCount(&e), -1);
    EXPECT_EQ(e, plat::PortError::Io);
    port->DiscardInput();
    port->Close();
    EXPECT_EQ(port->OutBufferCount(), 0);
}

}  // namespace
