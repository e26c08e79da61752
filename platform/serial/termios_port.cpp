// The serial port on Linux termios: raw 8-bit line, no flow control,
// non-blocking, exclusively locked, input watched by the thread's loop.
// Before opening, a port that another program holds is refused: a live UUCP
// lock, or another process with the device open; after opening, a flock or an
// exclusive mode of another holder that is still there.

#include "platform/loop/message_loop.h"
#include "platform/serial/device_holders.h"
#include "platform/serial/serial_port.h"
#include "platform/serial/uucp_lock.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace plat {

namespace {

// How long one Write may wait for room in the driver's output queue.
constexpr int kWriteStallMs = 2000;

speed_t BaudConstant(int32_t baud) {
    switch (baud) {
        case 50: return B50;
        case 75: return B75;
        case 110: return B110;
        case 134: return B134;
        case 150: return B150;
        case 200: return B200;
        case 300: return B300;
        case 600: return B600;
        case 1200: return B1200;
        case 1800: return B1800;
        case 2400: return B2400;
        case 4800: return B4800;
        case 9600: return B9600;
        case 19200: return B19200;
        case 38400: return B38400;
        case 57600: return B57600;
        case 115200: return B115200;
        case 230400: return B230400;
        default: return B0;
    }
}

PortError OpenErrorFromErrno(int err) {
    switch (err) {
        case ENOENT:
        case ENODEV:
        case ENXIO:
        case ENOTDIR:
        case EISDIR:
        case ENOTTY: return PortError::NoSuchDevice;
        case EBUSY:
        case EWOULDBLOCK: return PortError::Busy;
        default: return PortError::Io;
    }
}

class TermiosPort final : public SerialPort {
public:
    ~TermiosPort() override { Close(); }

    PortError Open(int32_t portNumber, std::string_view settings) override {
        Close();
        SerialSettings s;
        if (!ParseSerialSettings(settings, s)) return PortError::BadSettings;
        if (portNumber < 1) return PortError::NoSuchDevice;
        const std::string path = SerialDevicePath(portNumber);
        if (path.empty()) return PortError::Io;  // the registry could not be read
        PortError e = OpenDevice(path, s);
        if (e != PortError::None) lock_.Release();
        return e;
    }

    void Close() override {
        if (fd_ < 0) return;
        StopWatching();
        ::ioctl(fd_, TIOCNXCL);
        ::flock(fd_, LOCK_UN);
        ::close(fd_);
        fd_ = -1;
        failed_ = false;
        buffer_.clear();
        lock_.Release();
    }

private:
    PortError OpenDevice(const std::string& path, const SerialSettings& s) {
        if (::access(path.c_str(), F_OK) != 0) return OpenErrorFromErrno(errno);
        if (lock_.Acquire(path) == UucpLock::Result::Busy) return PortError::Busy;
        if (FindOtherDeviceHolder(path) != 0) return PortError::Busy;

        int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) return OpenErrorFromErrno(errno);
        // flock also stops a second user of the same process (or root, whom
        // TIOCEXCL does not stop).
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            int err = errno;
            ::close(fd);
            return err == EWOULDBLOCK ? PortError::Busy : PortError::Io;
        }
        // Another holder's exclusive mode stops others but not root: ask. The
        // mode outlives a holder that died (it stays on the line while the far
        // end is open): with no live lock and no holder left, it is stale.
        int exclusive = 0;
        if (::ioctl(fd, TIOCGEXCL, &exclusive) == 0 && exclusive != 0) {
            if (FindOtherDeviceHolder(path) != 0) {
                ::close(fd);
                return PortError::Busy;
            }
            ::ioctl(fd, TIOCNXCL);
        }
        termios tio{};
        if (::tcgetattr(fd, &tio) != 0) {
            int err = errno;
            ::close(fd);
            return OpenErrorFromErrno(err);
        }
        ::ioctl(fd, TIOCEXCL);

        ::cfmakeraw(&tio);
        tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
        tio.c_cflag |= CLOCAL | CREAD;
        switch (s.dataBits) {
            case 5: tio.c_cflag |= CS5; break;
            case 6: tio.c_cflag |= CS6; break;
            case 7: tio.c_cflag |= CS7; break;
            default: tio.c_cflag |= CS8; break;
        }
        if (s.parity != 'N') {
            tio.c_cflag |= PARENB;
            if (s.parity == 'O') tio.c_cflag |= PARODD;
            tio.c_iflag |= INPCK;
        }
        if (s.stopBits == 2) tio.c_cflag |= CSTOPB;
        tio.c_iflag &= ~(IXON | IXOFF | IXANY);
        // With O_NONBLOCK, VMIN 1 makes an empty line EAGAIN, so that a read
        // of 0 can only mean the other end hung up.
        tio.c_cc[VMIN] = 1;
        tio.c_cc[VTIME] = 0;
        const speed_t speed = BaudConstant(s.baud);
        if (::cfsetispeed(&tio, speed) != 0 || ::cfsetospeed(&tio, speed) != 0 ||
            ::tcsetattr(fd, TCSANOW, &tio) != 0) {
            int err = errno;
            ::ioctl(fd, TIOCNXCL);
            ::close(fd);
            return err == EINVAL ? PortError::BadSettings : PortError::Io;
        }
        ::tcflush(fd, TCIFLUSH);

        fd_ = fd;
        failed_ = false;
        buffer_.clear();
        watch_ = MessageLoop::Current().WatchFd(fd_, [this] { OnReadable(); });
        return PortError::None;
    }

public:
    bool IsOpen() const override { return fd_ >= 0; }

    PortError Write(std::string_view text) override {
        if (fd_ < 0 || failed_) return PortError::Io;
        const Millis start = RealClock().Now();
        while (!text.empty()) {
            ssize_t n = ::write(fd_, text.data(), text.size());
            if (n > 0) {
                text.remove_prefix(static_cast<std::size_t>(n));
                continue;
            }
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                const int left = kWriteStallMs - static_cast<int>(RealClock().Now() - start);
                pollfd p{fd_, POLLOUT, 0};
                if (left > 0 && ::poll(&p, 1, left) > 0 && (p.revents & POLLOUT)) continue;
                return PortError::Io;  // the line does not take our bytes
            }
            Fail();
            return PortError::Io;
        }
        return PortError::None;
    }

    PortError Read(std::string& out) override {
        if (fd_ < 0) return PortError::Io;
        Drain();
        // What arrived before a failure is still handed out; the failure shows next time.
        if (buffer_.empty() && failed_) return PortError::Io;
        out += buffer_;
        buffer_.clear();
        return PortError::None;
    }

    int32_t InBufferCount(PortError* error) override {
        if (error) *error = PortError::None;
        if (fd_ >= 0) Drain();
        if (fd_ < 0 || (buffer_.empty() && failed_)) {
            if (error) *error = PortError::Io;
            return -1;
        }
        return static_cast<int32_t>(buffer_.size());
    }

    void DiscardInput() override {
        if (fd_ < 0) return;
        ::tcflush(fd_, TCIFLUSH);
        Drain();
        buffer_.clear();
    }

    bool HungUp() override {
        if (fd_ < 0) return false;
        Drain();
        return failed_;
    }

    int32_t OutBufferCount() override {
        int n = 0;
        if (fd_ < 0 || ::ioctl(fd_, TIOCOUTQ, &n) != 0) return 0;
        return n;
    }

private:
    void OnReadable() { Drain(); }

    // Moves whatever the device holds into the buffer.
    void Drain() {
        if (fd_ < 0 || failed_) return;
        char chunk[512];
        while (true) {
            ssize_t n = ::read(fd_, chunk, sizeof chunk);
            if (n > 0) {
                buffer_.append(chunk, static_cast<std::size_t>(n));
                continue;
            }
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
            // 0 (end of file) or EIO: the other end hung up; any other error is as final.
            Fail();
            return;
        }
    }

    // A hung-up descriptor stays readable: stop watching it, or every pump
    // would come back here at once.
    void Fail() {
        failed_ = true;
        StopWatching();
    }

    void StopWatching() {
        if (watch_ != 0) {
            MessageLoop::Current().Unwatch(watch_);
            watch_ = 0;
        }
    }

    UucpLock lock_;
    int fd_ = -1;
    bool failed_ = false;
    uint64_t watch_ = 0;
    std::string buffer_;
};

}  // namespace

std::unique_ptr<SerialPort> CreateTermiosPort() { return std::make_unique<TermiosPort>(); }

}  // namespace plat
