#include "tools/pelmo2_sim/pty_line.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <system_error>

namespace sim {

namespace {

// How long one reply may wait for room when the other side does not read.
constexpr int kWriteStallMs = 1000;

}  // namespace

PtyLine::PtyLine() {
    char name[256] = {0};
    termios raw{};
    ::cfmakeraw(&raw);
    raw.c_cflag |= CLOCAL | CREAD;
    ::cfsetispeed(&raw, B9600);
    ::cfsetospeed(&raw, B9600);
    if (::openpty(&master_, &slave_, name, &raw, nullptr) != 0)
        throw std::system_error(errno, std::generic_category(), "cannot open a pseudo-terminal");
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    ::fcntl(master_, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave_, F_SETFD, FD_CLOEXEC);
    device_ = name;
    watch_ = plat::MessageLoop::Current().WatchFd(master_, [this] { OnReadable(); });
}

PtyLine::~PtyLine() {
    auto& loop = plat::MessageLoop::Current();
    for (uint64_t id : scheduled_) loop.Cancel(id);
    loop.Unwatch(watch_);
    ::close(slave_);
    ::close(master_);
}

void PtyLine::SendAt(plat::Millis time, std::string bytes) {
    auto& loop = plat::MessageLoop::Current();
    auto id = std::make_shared<uint64_t>(0);
    std::weak_ptr<bool> alive = alive_;
    *id = loop.PostDelayed(std::max<plat::Millis>(0, time - loop.Now()), [this, alive, id, bytes = std::move(bytes)] {
        if (alive.expired()) return;
        scheduled_.erase(*id);
        Write(bytes);
    });
    scheduled_.insert(*id);
}

void PtyLine::OnReadable() {
    std::string bytes;
    char buf[4096];
    while (true) {
        const ssize_t n = ::read(master_, buf, sizeof buf);
        if (n > 0) {
            bytes.append(buf, static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        break;  // EAGAIN: all taken; the slave stays open here, so no hang-up
    }
    if (!bytes.empty() && OnReceived) OnReceived(plat::MessageLoop::Current().Now(), bytes);
}

void PtyLine::Write(const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EAGAIN) {
            pollfd p{master_, POLLOUT, 0};
            if (::poll(&p, 1, kWriteStallMs) > 0) continue;
        }
        break;  // the other side stopped reading: drop the rest
    }
    if (OnSent) OnSent(bytes, done);
}

}  // namespace sim
