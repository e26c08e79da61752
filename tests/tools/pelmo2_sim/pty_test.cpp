// The simulator on a real pseudo-terminal, on the real clock (short
// exchanges only: the driver's own delays are not waited for here). One test
// keeps the line in this process; the other starts the program itself.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/com/registry.h"
#include "platform/loop/message_loop.h"
#include "platform/serial/instrument_link.h"
#include "platform/serial/serial_port.h"
#include "sim/simulated_instrument.h"
#include "tests/support/serial/fake_serial_port.h"
#include "tests/support/temp_dir.h"
#include "tools/pelmo2_sim/pty_line.h"
#include "tools/pelmo2_sim/scratch_registry.h"

namespace {

constexpr char kSettings[] = "9600,N,8,1";
constexpr char kLinkKey[] = "Software\\Velam\\Orvik\\InstrumentLink\\Pelmo2";

plat::Millis RealNow() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Reads from the port, pumping the loop, until `tail` ends the text or the time is up.
std::string ReadUntil(plat::SerialPort& port, const std::string& tail, plat::Millis withinMs) {
    std::string got;
    const plat::Millis end = RealNow() + withinMs;
    while (RealNow() < end && !got.ends_with(tail)) {
        plat::MessageLoop::Current().DoEvents();
        EXPECT_EQ(port.Read(got), plat::PortError::None);
    }
    return got;
}

class PtyTest : public ::testing::Test {
protected:
    PtyTest() { plat::MessageLoop::Reset(); }  // the real clock
    serialtest::RegistryFileScope registry_;
};

TEST_F(PtyTest, TheDriversPortReachesTheInstrumentThroughTheScratchRegistry) {
    sim::PtyLine line;
    sim::SimulatedInstrument instrument([&](plat::Millis t, std::string b) { line.SendAt(t, std::move(b)); });
    instrument.SetReplyDelay(20);
    line.OnReceived = [&](plat::Millis t, const std::string& b) { instrument.Receive(t, b); };
    std::vector<std::string> sent;
    line.OnSent = [&](const std::string& b, std::size_t n) { sent.push_back(b.substr(0, n)); };

    plat::Registry::Instance().WriteValue(plat::Hive::LocalMachine, "Software\\Velam\\Orvik\\Pelmo2", "Path", "/m/");
    sim::WriteScratchRegistry(registry_.Path(), 3, line.DevicePath());
    int32_t port = 0;
    plat::GetInstrumentPort("Pelmo2", "", port);
    EXPECT_EQ(port, 3);
    EXPECT_EQ(plat::SerialDevicePath(3), line.DevicePath());
    EXPECT_EQ(plat::Registry::Instance().ReadValue(plat::Hive::LocalMachine, "Software\\Velam\\Orvik\\Pelmo2", "Path"),
              "/m/")
        << "other settings in the file stay";

    auto serial = plat::CreateTermiosPort();
    ASSERT_EQ(serial->Open(3, kSettings), plat::PortError::None);
    ASSERT_EQ(serial->Write("[MAKE1]"), plat::PortError::None);
    EXPECT_EQ(ReadUntil(*serial, "\r\n", 2000), "DownLoad Make: Criticare\r\n");

    // Closing the port must not hang the line up: the next session talks again.
    serial->Close();
    ASSERT_EQ(serial->Open(3, kSettings), plat::PortError::None);
    ASSERT_EQ(serial->Write("[PROBE]"), plat::PortError::None);
    EXPECT_EQ(ReadUntil(*serial, "   \r\n", 2000), instrument.ProbeReport());
    EXPECT_EQ(instrument.CommandTexts(), (std::vector<std::string>{"[MAKE1]", "[PROBE]"}));
    EXPECT_EQ(sent, (std::vector<std::string>{"DownLoad Make: Criticare\r\n", instrument.ProbeReport()}));
}

// The program with pipes on its standard input and output.
class SimProcess {
public:
    explicit SimProcess(const std::vector<std::string>& args) {
        const char* bin = std::getenv("ORVIK_BIN_DIR");
        const std::string program = std::string(bin ? bin : ".") + "/pelmo2-sim";
        int in[2], out[2], err[2];
        if (::pipe(in) != 0 || ::pipe(out) != 0 || ::pipe(err) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(in[0], 0);
            ::dup2(out[1], 1);
            ::dup2(err[1], 2);
            for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) ::close(fd);
            std::vector<char*> argv{const_cast<char*>(program.c_str())};
            for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            ::execv(program.c_str(), argv.data());
            ::_exit(127);
        }
        ::close(in[0]);
        ::close(out[1]);
        ::close(err[1]);
        in_ = in[1];
        out_ = out[0];
        err_ = err[0];
    }
    ~SimProcess() {
        if (pid_ > 0 && !exited_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        for (int fd : {in_, out_, err_})
            if (fd >= 0) ::close(fd);
    }
    bool Started() const { return pid_ > 0; }
    void Type(const std::string& text) { ASSERT_EQ(::write(in_, text.data(), text.size()), ssize_t(text.size())); }

    // Standard output up to and including the first line that holds `what`.
    std::string OutputUntil(const std::string& what, plat::Millis withinMs = 3000) {
        const plat::Millis end = RealNow() + withinMs;
        while (true) {
            std::size_t at = output_.find(what);
            std::size_t eol = at == std::string::npos ? at : output_.find('\n', at);
            if (eol != std::string::npos) {
                std::string taken = output_.substr(0, eol + 1);
                output_.erase(0, eol + 1);
                return taken;
            }
            const plat::Millis left = end - RealNow();
            pollfd p{out_, POLLIN, 0};
            if (left <= 0 || ::poll(&p, 1, static_cast<int>(left)) <= 0) return "";
            char buf[512];
            const ssize_t n = ::read(out_, buf, sizeof buf);
            if (n <= 0) return "";
            output_.append(buf, static_cast<std::size_t>(n));
        }
    }
    std::string ErrorOutput() {
        std::string all;
        char buf[512];
        ssize_t n;
        while ((n = ::read(err_, buf, sizeof buf)) > 0) all.append(buf, static_cast<std::size_t>(n));
        return all;
    }
    // The exit code, or -1 when it has not ended within the time.
    int WaitExit(plat::Millis withinMs) {
        const plat::Millis end = RealNow() + withinMs;
        int status = 0;
        while (RealNow() < end) {
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                exited_ = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            ::usleep(10000);
        }
        return -1;
    }

private:
    pid_t pid_ = -1;
    int in_ = -1, out_ = -1, err_ = -1;
    bool exited_ = false;
    std::string output_;
};

TEST_F(PtyTest, TheProgramServesItsDeviceAndObeysItsConsole) {
    test_support::TempDir dir;
    const std::string regFile = dir.File("sim.reg");
    SimProcess sim({"--registry", regFile, "--port", "2", "--make", "10=ACME", "--probe-line", "R=1.5",
                    "--reply-delay", "10"});
    ASSERT_TRUE(sim.Started());
    std::string device = sim.OutputUntil("/dev/");
    ASSERT_FALSE(device.empty()) << sim.ErrorOutput();
    device.pop_back();
    EXPECT_NE(sim.OutputUntil("registry " + regFile), "");

    plat::Registry written(regFile);
    EXPECT_EQ(written.ReadValue(plat::Hive::LocalMachine, kLinkKey, "Port"), "2");
    plat::Registry::UseFile(regFile);
    EXPECT_EQ(plat::SerialDevicePath(2), device);

    auto serial = plat::CreateTermiosPort();
    ASSERT_EQ(serial->Open(2, kSettings), plat::PortError::None);
    ASSERT_EQ(serial->Write("[MAKE10]"), plat::PortError::None);
    EXPECT_EQ(ReadUntil(*serial, "\r\n", 2000), "DownLoad Make: ACME\r\n");
    ASSERT_EQ(serial->Write("[PROBE]"), plat::PortError::None);
    EXPECT_EQ(ReadUntil(*serial, "   \r\n", 2000), "R=1.5\r\n   \r\n");
    EXPECT_NE(sim.OutputUntil("<- [PROBE]"), "");

    sim.Type("silent\n");
    EXPECT_NE(sim.OutputUntil("mode: silent"), "");
    ASSERT_EQ(serial->Write("[VER]"), plat::PortError::None);
    EXPECT_EQ(ReadUntil(*serial, "\r\n", 300), "");
    EXPECT_NE(sim.OutputUntil("<- [VER]"), "") << "a silent simulator still logs what it takes";

    sim.Type("quit\n");
    EXPECT_EQ(sim.WaitExit(3000), 0);
}

TEST_F(PtyTest, TheProgramRefusesABadCommandLine) {
    SimProcess sim({"--make", "3=BCI"});
    ASSERT_TRUE(sim.Started());
    EXPECT_EQ(sim.WaitExit(3000), 2);
    EXPECT_NE(sim.ErrorOutput().find("10 to 15"), std::string::npos);
}

}  // namespace
