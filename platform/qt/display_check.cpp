#include "platform/qt/display_check.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

namespace plat::qt {

namespace {

constexpr const char* kAdvice = "run it in a desktop session, or over ssh -X";

// Why a display cannot be used: "the X display :97 does not answer" and its
// likely cause; an empty subject when it answers.
struct Refusal {
    std::string subject;
    std::string cause;
    bool byServer = false;  // the server is there but will not serve this user
    std::string Text() const { return subject + " (" + cause + ")"; }
};

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::string UserName() {
    const passwd* user = ::getpwuid(::geteuid());
    return user && user->pw_name ? user->pw_name : "of uid " + std::to_string(::geteuid());
}

Refusal Refused(const std::string& display, const std::string& why) {
    return {"the " + display + " refuses the user " + UserName(), "this user may not use it; " + why, true};
}

// What libxcb writes to fd 2 meanwhile (the server's reason for a refusal)
// is taken instead of shown.
class StderrCapture {
public:
    StderrCapture() {
        if (::pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0) return;
        saved_ = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
        if (saved_ < 0 || ::dup2(pipe_[1], STDERR_FILENO) < 0) Restore();
    }
    ~StderrCapture() {
        Restore();
        for (int& fd : pipe_)
            if (fd >= 0) ::close(std::exchange(fd, -1));
    }
    std::string Taken() {
        Restore();
        std::string text;
        char buffer[512];
        ssize_t n;
        while (pipe_[0] >= 0 && (n = ::read(pipe_[0], buffer, sizeof buffer)) > 0) text.append(buffer, n);
        while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.pop_back();
        std::replace_if(text.begin(), text.end(), [](unsigned char c) { return std::iscntrl(c); }, ' ');  // one line
        return text;
    }

private:
    void Restore() {
        if (saved_ < 0) return;
        ::dup2(saved_, STDERR_FILENO);
        ::close(std::exchange(saved_, -1));
    }
    int pipe_[2] = {-1, -1};
    int saved_ = -1;
};

std::string WaylandName() {
    const std::string name = Env("WAYLAND_DISPLAY");
    return name.empty() ? "wayland-0" : name;
}

// As libwayland finds the socket: an absolute name, else one in the runtime folder.
Refusal WaylandRefusal() {
    if (!Env("WAYLAND_SOCKET").empty()) return {};  // a connection handed over by the compositor
    const std::string name = WaylandName(), display = "Wayland display " + name;
    std::string path = name;
    if (name.front() != '/') {
        const std::string runtime = Env("XDG_RUNTIME_DIR");
        if (runtime.empty()) return {"the " + display + " cannot be found", "XDG_RUNTIME_DIR is not set"};
        path = runtime + "/" + name;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) return {"the " + display + " cannot be found", "its path is too long"};
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    // Not waiting: a compositor whose queue of new clients is full is there all the same.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return {};
    const int rc = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    const int error = errno;
    ::close(fd);
    if (rc == 0 || error == EAGAIN) return {};
    if (error == EACCES || error == EPERM) return Refused(display, std::strerror(error));
    return {"the " + display + " does not answer", "no Wayland server runs there"};
}

struct XcbConnection;
using XcbConnect = XcbConnection* (*)(const char*, int*);
using XcbHasError = int (*)(XcbConnection*);
using XcbDisconnect = void (*)(XcbConnection*);
constexpr int kXcbParseError = 5;     // XCB_CONN_CLOSED_PARSE_ERR
constexpr int kXcbInvalidScreen = 6;  // XCB_CONN_CLOSED_INVALID_SCREEN

Refusal XRefusal(bool waylandAsked) {
    const std::string name = Env("DISPLAY");
    if (name.empty()) {
        std::string why = "DISPLAY is not set";
        if (!waylandAsked && !Env("WAYLAND_DISPLAY").empty()) {
            const Refusal wayland = WaylandRefusal();
            why += wayland.subject.empty() ? "; Qt takes the Wayland display " + WaylandName() +
                                                 " only in a Wayland session (XDG_SESSION_TYPE=wayland)"
                                           : ", and " + wayland.subject + ": " + wayland.cause;
        }
        return {"no display to open its window on", why};
    }
    // Qt's X11 platform needs libxcb too: without it, it is Qt's to tell.
    void* xcb = ::dlopen("libxcb.so.1", RTLD_NOW | RTLD_LOCAL);
    if (!xcb) return {};
    const auto connect = reinterpret_cast<XcbConnect>(::dlsym(xcb, "xcb_connect"));
    const auto hasError = reinterpret_cast<XcbHasError>(::dlsym(xcb, "xcb_connection_has_error"));
    const auto disconnect = reinterpret_cast<XcbDisconnect>(::dlsym(xcb, "xcb_disconnect"));
    if (!connect || !hasError || !disconnect) {
        ::dlclose(xcb);
        return {};
    }
    int error = 0;
    std::string reason;
    {
        StderrCapture capture;
        int screen = 0;
        XcbConnection* connection = connect(name.c_str(), &screen);
        error = hasError(connection);
        disconnect(connection);
        reason = capture.Taken();
    }
    ::dlclose(xcb);
    const std::string display = "X display " + name;
    if (error == 0) return {};
    // libxcb writes the reason a server gives when it turns the connection down.
    if (!reason.empty()) return Refused(display, "the server says \"" + reason + "\"");
    if (error == kXcbParseError) return {"DISPLAY=" + name + " names no X display", "a display is named [host]:number[.screen]"};
    if (error == kXcbInvalidScreen) return {"the " + display + " has no such screen", "its server has fewer screens"};
    return {"the " + display + " does not answer", "no X server runs there"};
}

// The platforms Qt tries, in its order, without their options.
std::vector<std::string> Platforms() {
    std::string chosen = Env("QT_QPA_PLATFORM");
    if (chosen.empty()) {
        const std::string desktops = Lower(Env("XDG_CURRENT_DESKTOP") + ":" + Env("XDG_SESSION_DESKTOP"));
        const bool wayland = Lower(Env("XDG_SESSION_TYPE")).find("wayland") != std::string::npos &&
                             desktops.find("gnome") == std::string::npos;
        chosen = wayland ? "wayland;xcb" : "xcb";
    }
    std::vector<std::string> platforms;
    for (size_t at = 0; at <= chosen.size();) {
        size_t end = chosen.find(';', at);
        if (end == std::string::npos) end = chosen.size();
        const std::string entry = chosen.substr(at, end - at);
        if (!entry.empty()) platforms.push_back(entry.substr(0, entry.find(':')));
        at = end + 1;
    }
    return platforms;
}

}  // namespace

std::string DisplayCheck::Problem(std::string_view program) {
    const std::vector<std::string> platforms = Platforms();
    const bool waylandAsked = std::any_of(platforms.begin(), platforms.end(),
                                          [](const std::string& p) { return p.starts_with("wayland"); });
    Refusal first;
    for (const std::string& platform : platforms) {
        Refusal refusal;
        if (platform == "xcb") refusal = XRefusal(waylandAsked);
        else if (platform.starts_with("wayland")) refusal = WaylandRefusal();
        if (refusal.subject.empty()) return {};
        if (first.subject.empty()) first = refusal;
    }
    if (first.subject.empty()) return {};
    return std::string(program) + ": " + first.Text() + ": " +
           (first.byServer ? "run it as the user of that desktop, or over ssh -X" : kAdvice);
}

}  // namespace plat::qt
