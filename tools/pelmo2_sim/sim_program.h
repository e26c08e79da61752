#pragma once
// The simulator program: the simulated instrument on a pseudo-terminal, on
// the real clock and the thread's message loop, with a console on an input
// descriptor and a log of the traffic. The first line it prints is the device
// path alone, so that scripts can take it with `head -1`.

#include <iosfwd>
#include <memory>
#include <string>

#include "platform/loop/message_loop.h"
#include "tools/pelmo2_sim/sim_console.h"
#include "tools/pelmo2_sim/sim_settings.h"

namespace sim {

class PtyLine;
class SimulatedInstrument;

class SimProgram {
public:
    // Opens the pseudo-terminal (std::system_error when none can be had).
    SimProgram(SimSettings settings, std::ostream& out);
    ~SimProgram();
    SimProgram(const SimProgram&) = delete;
    SimProgram& operator=(const SimProgram&) = delete;

    // Prints the device path and writes the registry file when one was asked
    // for (plat::RegistryError when it cannot be written).
    void Start();
    const std::string& DevicePath() const;
    SimulatedInstrument& Instrument() { return *instrument_; }

    // Takes console input as it comes (any cut); carries out each whole line.
    void ConsoleInput(const std::string& bytes);
    bool QuitRequested() const { return quit_; }

    // Serves until "quit", SIGINT or SIGTERM; `inputFd` is the console (-1: none).
    int Run(int inputFd);

private:
    void Log(const std::string& text);
    void OnCommand(const std::string& text);

    SimSettings settings_;
    std::ostream& out_;
    plat::Millis start_ = 0;
    std::unique_ptr<PtyLine> line_;
    std::unique_ptr<SimulatedInstrument> instrument_;
    std::unique_ptr<SimConsole> console_;
    std::string consoleBuffer_;
    bool quit_ = false;
};

}  // namespace sim
