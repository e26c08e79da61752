#include "plugin/shell/trace.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/values/pass_over.h"

namespace plugin {

namespace {

struct TraceState {
    bool looked = false;
    bool stopped = false;
    int fd = -1;
    int32_t counter = 0;
    int32_t timeoutMs = 5000;

    void Close() {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
    ~TraceState() { Close(); }
};

TraceState& State() {
    static TraceState state;
    return state;
}

int ConnectViewer(const std::string& path, int32_t timeoutMs) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof(address.sun_path)) return -1;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    timeval timeout{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    if (::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof(timeout)) != 0 ||
        ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

std::string TraceViewerPath() {
    // The name is joined at run time, as the viewer's own property name is.
    const std::string name = std::string("vbAcceleratorVBTRACER") + "_TRACEWIN";
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string folder;
    if (runtime && *runtime) {
        folder = runtime;
    } else {
        plat::PassOver([&] { folder = std::filesystem::temp_directory_path().string(); });
        if (folder.empty()) folder = "/tmp";
    }
    return (std::filesystem::path(folder) / name).string();
}

void TraceValues(const std::vector<plat::Variant>& values) {
    TraceState& state = State();
    if (!state.looked) {
        state.looked = true;
        plat::PassOver([&] { state.fd = ConnectViewer(TraceViewerPath(), state.timeoutMs); });
    }
    if (state.fd < 0 || state.stopped) return;

    std::string text;
    for (const plat::Variant& value : values) {
        plat::PassOver([&] { text += value.AsString(); });
        text += '\t';
    }
    if (++state.counter > 9999) state.counter = 1;
    char number[16];
    std::snprintf(number, sizeof(number), "%04d", static_cast<int>(state.counter));
    const std::string line = std::string(number) + " : " + text;

    if (::send(state.fd, line.data(), line.size(), MSG_NOSIGNAL) < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
        state.stopped = true;
        state.Close();
    }
}

int32_t TraceLineNumber() { return State().counter; }

void ResetTraceForTests(int32_t timeoutMs) {
    TraceState& state = State();
    state.Close();
    state.looked = false;
    state.stopped = false;
    state.counter = 0;
    state.timeoutMs = timeoutMs;
}

}  // namespace plugin
