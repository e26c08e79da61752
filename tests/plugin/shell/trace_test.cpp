#include "plugin/shell/trace.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "plugin/results/measurement.h"
#include "tests/support/temp_dir.h"

namespace {

// A trace viewer: a datagram socket bound to the looked-for path.
class Viewer {
public:
    explicit Viewer(const std::string& path) {
        fd_ = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
        bound_ = ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    }
    ~Viewer() { ::close(fd_); }
    bool Bound() const { return bound_; }
    std::string Receive() {
        char buffer[512];
        const ssize_t n = ::recv(fd_, buffer, sizeof(buffer), MSG_DONTWAIT);
        return n < 0 ? std::string("<none>") : std::string(buffer, static_cast<size_t>(n));
    }

private:
    int fd_ = -1;
    bool bound_ = false;
};

class TraceTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* old = std::getenv("XDG_RUNTIME_DIR");
        saved_ = old ? old : "";
        hadRuntime_ = old != nullptr;
        ::setenv("XDG_RUNTIME_DIR", dir_.Path().c_str(), 1);
        plugin::ResetTraceForTests(50);
    }
    void TearDown() override {
        plugin::ResetTraceForTests();
        if (hadRuntime_) ::setenv("XDG_RUNTIME_DIR", saved_.c_str(), 1);
        else ::unsetenv("XDG_RUNTIME_DIR");
    }
    test_support::TempDir dir_;
    std::string saved_;
    bool hadRuntime_ = false;
};

TEST_F(TraceTest, WithoutAViewerNothingIsSentAndTheCounterStays) {
    plugin::Trace("a", 2);
    EXPECT_EQ(plugin::TraceLineNumber(), 0);
    EXPECT_EQ(plugin::TraceViewerPath(), dir_.Path() + "/vbAcceleratorVBTRACER_TRACEWIN");
}

TEST_F(TraceTest, AFileThatIsNoListeningSocketIsNoViewer) {
    dir_.Write("vbAcceleratorVBTRACER_TRACEWIN", "not a socket");
    plugin::Trace("a");
    EXPECT_EQ(plugin::TraceLineNumber(), 0);
}

TEST_F(TraceTest, LinesAreNumberedAndEveryValueEndsWithATab) {
    Viewer viewer(plugin::TraceViewerPath());
    ASSERT_TRUE(viewer.Bound());
    plugin::Trace("a", 2);
    EXPECT_EQ(viewer.Receive(), "0001 : a\t2\t");
    plugin::Trace();
    EXPECT_EQ(viewer.Receive(), "0002 : ");
}

TEST_F(TraceTest, AStoredReadingIsTracedWithItsNumber) {
    Viewer viewer(plugin::TraceViewerPath());
    plugin::CMeasurement measurement;
    measurement.Init("SpO2", "", "SpO2", "%", true);
    measurement.StoreValue("97 %");
    EXPECT_EQ(viewer.Receive(), "0001 : Value is :: 97\t");
    measurement.StoreValue("OPEN");
    EXPECT_EQ(viewer.Receive(), "0002 : Value is :: 0\t");
}

TEST_F(TraceTest, TheNumberWrapsAfter9999) {
    Viewer viewer(plugin::TraceViewerPath());
    for (int i = 1; i <= 9999; ++i) {
        plugin::Trace(i);
        viewer.Receive();
    }
    plugin::Trace("x");
    EXPECT_EQ(viewer.Receive(), "0001 : x\t");
}

TEST_F(TraceTest, AViewerStartedAfterTheFirstTraceIsNeverFound) {
    plugin::Trace("early");
    Viewer viewer(plugin::TraceViewerPath());
    plugin::Trace("late");
    EXPECT_EQ(viewer.Receive(), "<none>");
    EXPECT_EQ(plugin::TraceLineNumber(), 0);
}

TEST_F(TraceTest, AViewerThatStopsTakingLinesStopsTracingAfterOneTimeOut) {
    Viewer viewer(plugin::TraceViewerPath());
    // Nobody reads: the viewer's queue fills, then one send times out (50 ms
    // here), and from then on no line is numbered any more.
    int sent = 0;
    for (; sent < 100000; ++sent) {
        const int32_t before = plugin::TraceLineNumber();
        plugin::Trace("line");
        if (plugin::TraceLineNumber() == before) break;
    }
    const int32_t last = plugin::TraceLineNumber();
    plugin::Trace("after");
    EXPECT_EQ(plugin::TraceLineNumber(), last);
    EXPECT_LT(sent, 100000);
}

}  // namespace
