#pragma once
// The simulator program's console: one line of standard input at a time
// changes how the instrument answers or reports its state.
//
//   silent          answer nothing (commands are still taken and logged)
//   answer          answer normally again
//   garbage         answer every command with a line of noise
//   noise [N]       send N characters of noise now, unprompted (default 32)
//   make N NAME     custom make N (10 to 15) reports NAME
//   status          the mode, the make names and the uploads so far
//   help            these commands
//   quit            end the program

#include <string>

namespace sim {

class SimulatedInstrument;

class SimConsole {
public:
    static constexpr std::size_t kDefaultNoise = 32;
    static constexpr std::size_t kMaxNoise = 65536;

    explicit SimConsole(SimulatedInstrument& instrument) : instrument_(instrument) {}

    // Carries out one line and returns what to print (ends with a line feed,
    // or is empty for a blank line).
    std::string Execute(const std::string& line);
    bool QuitRequested() const { return quit_; }

    static std::string Help();
    std::string Status() const;

private:
    SimulatedInstrument& instrument_;
    bool quit_ = false;
};

}  // namespace sim
