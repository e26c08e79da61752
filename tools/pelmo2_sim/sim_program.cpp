#include "tools/pelmo2_sim/sim_program.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <sys/signalfd.h>
#include <unistd.h>

#include <iomanip>
#include <ostream>
#include <sstream>

#include "platform/values/text.h"
#include "sim/simulated_instrument.h"
#include "tools/pelmo2_sim/pty_line.h"
#include "tools/pelmo2_sim/scratch_registry.h"

namespace sim {

namespace {

// Control characters as C escapes, so that a log line shows the exact bytes.
std::string Visible(const std::string& bytes) {
    std::string out;
    for (unsigned char ch : bytes) {
        if (ch == '\r') out += "\\r";
        else if (ch == '\n') out += "\\n";
        else if (ch == '\\') out += "\\\\";
        else if (ch < 0x20 || ch >= 0x7f) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", ch);
            out += hex;
        } else out += static_cast<char>(ch);
    }
    return out;
}

}  // namespace

SimProgram::SimProgram(SimSettings settings, std::ostream& out)
    : settings_(std::move(settings)), out_(out), start_(plat::MessageLoop::Current().Now()),
      line_(std::make_unique<PtyLine>()) {
    instrument_ = std::make_unique<SimulatedInstrument>(
        [line = line_.get()](plat::Millis time, std::string bytes) { line->SendAt(time, std::move(bytes)); });
    settings_.ApplyTo(*instrument_);
    console_ = std::make_unique<SimConsole>(*instrument_);
    line_->OnReceived = [this](plat::Millis time, const std::string& bytes) { instrument_->Receive(time, bytes); };
    instrument_->OnCommand = [this](const ReceivedCommand& c) { OnCommand(c.text); };
    line_->OnSent = [this](const std::string& bytes, std::size_t written) {
        Log("-> " + Visible(bytes) +
            (written < bytes.size() ? "  (" + std::to_string(bytes.size() - written) + " bytes not taken)" : ""));
    };
}

SimProgram::~SimProgram() {
    instrument_->OnCommand = nullptr;
    line_->OnReceived = nullptr;
    line_->OnSent = nullptr;
}

const std::string& SimProgram::DevicePath() const { return line_->DevicePath(); }

void SimProgram::Start() {
    out_ << DevicePath() << std::endl;
    if (!settings_.registryFile.empty()) {
        WriteScratchRegistry(settings_.registryFile, settings_.port, DevicePath());
        out_ << "registry " << settings_.registryFile << ": instrument link \"Pelmo2\" on port " << settings_.port
             << " = " << DevicePath() << " (run the host with ORVIK_REGISTRY_FILE=" << settings_.registryFile << ")"
             << std::endl;
    }
    out_ << console_->Status() << std::flush;
}

void SimProgram::Log(const std::string& text) {
    const plat::Millis ms = plat::MessageLoop::Current().Now() - start_;
    out_ << std::setw(5) << ms / 1000 << '.' << std::setw(3) << std::setfill('0') << ms % 1000 << std::setfill(' ')
         << ' ' << text << std::endl;
}

void SimProgram::OnCommand(const std::string& text) {
    Log("<- " + Visible(text));
    if (!text.starts_with("[RCURVE>")) return;
    const RCurveUpload& u = instrument_->Uploads().back();
    if (u.slot >= 0 && u.slot <= 5)
        Log("   custom make " + std::to_string(u.slot + SimulatedInstrument::kFirstCustomSlot) + " is now \"" +
            plat::Trim(u.name) + "\" (" + std::to_string(u.values.size()) + " R values, IR DC " + u.irdc +
            ", red DC " + u.rdc + ")");
    else
        Log("   upload not taken: no custom slot 0 to 5 in it");
}

void SimProgram::ConsoleInput(const std::string& bytes) {
    consoleBuffer_ += bytes;
    std::size_t end;
    while (!quit_ && (end = consoleBuffer_.find('\n')) != std::string::npos) {
        const std::string line = consoleBuffer_.substr(0, end);
        consoleBuffer_.erase(0, end + 1);
        out_ << console_->Execute(line) << std::flush;
        quit_ = console_->QuitRequested();
    }
}

int SimProgram::Run(int inputFd) {
    auto& loop = plat::MessageLoop::Current();
    std::signal(SIGPIPE, SIG_IGN);  // a log reader that went away must not end the simulator

    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigprocmask(SIG_BLOCK, &stopSignals, nullptr);
    const int signals = signalfd(-1, &stopSignals, SFD_NONBLOCK | SFD_CLOEXEC);
    uint64_t signalWatch = 0;
    if (signals >= 0)
        signalWatch = loop.WatchFd(signals, [&] {
            signalfd_siginfo info{};
            while (::read(signals, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) quit_ = true;
        });

    uint64_t inputWatch = 0;
    if (inputFd >= 0)
        inputWatch = loop.WatchFd(inputFd, [&] {
            char buf[1024];
            const ssize_t n = ::read(inputFd, buf, sizeof buf);
            if (n > 0) {
                ConsoleInput(std::string(buf, static_cast<std::size_t>(n)));
            } else if (n == 0 || (errno != EINTR && errno != EAGAIN)) {
                loop.Unwatch(inputWatch);  // end of input: go on serving
                inputWatch = 0;
            }
        });

    loop.RunUntil([this] { return quit_; });

    if (inputWatch) loop.Unwatch(inputWatch);
    if (signalWatch) loop.Unwatch(signalWatch);
    if (signals >= 0) ::close(signals);
    sigprocmask(SIG_UNBLOCK, &stopSignals, nullptr);
    Log("stopped");
    return 0;
}

}  // namespace sim
