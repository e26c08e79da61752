// The check before Qt starts: a display that does not answer or refuses the
// user gives one line naming it and the cause; one that answers, and any
// platform other than X11 and Wayland, give way to Qt. The X servers here are
// sockets of the test's own in the abstract namespace, where libxcb looks first.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <thread>

#include "platform/qt/display_check.h"
#include "tests/support/saved_variable.h"
#include "tests/support/temp_dir.h"

namespace {

using plat::qt::DisplayCheck;
using testing::HasSubstr;

// A unix socket bound at `path` (a leading '\0': abstract), listening when asked.
class Socket {
public:
    Socket(const std::string& path, bool listening) : fd_(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, path.data(), path.size());
        bound_ = ::bind(fd_, reinterpret_cast<sockaddr*>(&address), offsetof(sockaddr_un, sun_path) + path.size()) == 0 &&
                 (!listening || ::listen(fd_, 8) == 0);
    }
    ~Socket() { ::close(fd_); }
    bool Bound() const { return bound_; }
    int Fd() const { return fd_; }

private:
    int fd_;
    bool bound_ = false;
};

// An X server that turns down one connection with `reason`, as a server
// whose access control leaves the user out does.
void RefuseOneClient(int listener, const std::string& reason) {
    const int client = ::accept(listener, nullptr, nullptr);
    if (client < 0) return;
    unsigned char request[12];
    if (::recv(client, request, sizeof request, MSG_WAITALL) == sizeof request) {
        const auto padded = [](int n) { return (n + 3) / 4 * 4; };
        std::string rest(padded(request[6] | request[7] << 8) + padded(request[8] | request[9] << 8), '\0');
        if (!rest.empty()) ::recv(client, rest.data(), rest.size(), MSG_WAITALL);
        const int words = padded(static_cast<int>(reason.size())) / 4;  // client's byte order: little-endian here
        std::string reply = {0, static_cast<char>(reason.size()), 11, 0, 0, 0, static_cast<char>(words), 0};
        reply += reason;
        reply.resize(8 + 4 * words, '\0');
        (void)::send(client, reply.data(), reply.size(), MSG_NOSIGNAL);
    }
    ::close(client);
}

class DisplayCheckTest : public ::testing::Test {
protected:
    DisplayCheckTest() {
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "WAYLAND_SOCKET", "XDG_SESSION_TYPE"})
            ::unsetenv(name);
        ::setenv("XAUTHORITY", (dir_.Path() + "/no-authority").c_str(), 1);
        // A display number of this process's own, past the ones servers take.
        display_ = ":" + std::to_string(20000 + ::getpid() % 40000);
        xSocket_ = std::string(1, '\0') + "/tmp/.X11-unix/X" + display_.substr(1);
    }
    test_support::SavedVariable platform_{"QT_QPA_PLATFORM"}, x_{"DISPLAY"}, wayland_{"WAYLAND_DISPLAY"},
        handed_{"WAYLAND_SOCKET"}, session_{"XDG_SESSION_TYPE"}, authority_{"XAUTHORITY"};
    test_support::TempDir dir_;
    std::string display_, xSocket_;
};

TEST_F(DisplayCheckTest, AnXDisplayThatDoesNotAnswerOrRefusesTheUserIsNamedWithTheCause) {
    ::setenv("DISPLAY", display_.c_str(), 1);
    {
        const Socket deaf(xSocket_, false);  // bound, so the name is ours, but no server takes it
        ASSERT_TRUE(deaf.Bound());
        EXPECT_EQ(DisplayCheck::Problem("Tamblin"), "Tamblin: the X display " + display_ +
                                                        " does not answer (no X server runs there): run it in a "
                                                        "desktop session, or over ssh -X");
    }
    const Socket server(xSocket_, true);
    ASSERT_TRUE(server.Bound());
    std::thread refusing(RefuseOneClient, server.Fd(), "No protocol specified\n");
    testing::internal::CaptureStderr();
    const std::string problem = DisplayCheck::Problem("orvik-host");
    const std::string shown = testing::internal::GetCapturedStderr();
    refusing.join();
    EXPECT_THAT(problem, HasSubstr("orvik-host: the X display " + display_ + " refuses the user "));
    EXPECT_THAT(problem, HasSubstr("this user may not use it; the server says \"No protocol specified\""));
    EXPECT_EQ(problem.find('\n'), std::string::npos);
    EXPECT_EQ(shown, "") << "the server's reason belongs in the one line";

    // Qt's own platforms other than X11 and Wayland are Qt's to start.
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    EXPECT_EQ(DisplayCheck::Problem("Tamblin"), "");
}

TEST_F(DisplayCheckTest, AWaylandDisplayAnswersWhenItsSocketTakesAConnection) {
    const std::string path = dir_.Path() + "/wayland-7";
    ::setenv("WAYLAND_DISPLAY", path.c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "wayland", 1);
    {
        const Socket deaf(path, false);
        EXPECT_EQ(DisplayCheck::Problem("Tamblin"),
                  "Tamblin: the Wayland display " + path +
                      " does not answer (no Wayland server runs there): run it in a desktop session, or over ssh -X");
    }
    ::unlink(path.c_str());
    const Socket compositor(path, true);
    EXPECT_EQ(DisplayCheck::Problem("Tamblin"), "");
    // Without QT_QPA_PLATFORM Qt takes Wayland only in a Wayland session, and X11 then.
    ::unsetenv("QT_QPA_PLATFORM");
    EXPECT_THAT(DisplayCheck::Problem("Tamblin"), HasSubstr("(DISPLAY is not set; Qt takes the Wayland display"));
    ::setenv("XDG_SESSION_TYPE", "wayland", 1);
    EXPECT_EQ(DisplayCheck::Problem("Tamblin"), "");
}

}  // namespace
