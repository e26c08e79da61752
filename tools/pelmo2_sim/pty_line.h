#pragma once
// A pseudo-terminal pair as the simulator's serial line. The program on the
// other side opens the slave device (DevicePath) as its serial port; what it
// writes arrives here from the thread's message loop, and bytes sent here are
// written to it at their loop times. The slave stays open on this side too,
// raw, so that the line never hangs up while programs open and close the port.

#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>

#include "platform/loop/message_loop.h"

namespace sim {

class PtyLine {
public:
    // Throws std::system_error when no pseudo-terminal can be had.
    PtyLine();
    ~PtyLine();
    PtyLine(const PtyLine&) = delete;
    PtyLine& operator=(const PtyLine&) = delete;

    const std::string& DevicePath() const { return device_; }

    // Bytes written by the program on the other side, with the loop time.
    std::function<void(plat::Millis time, const std::string& bytes)> OnReceived;
    // Bytes that went out (or could not: `written` short of the whole).
    std::function<void(const std::string& bytes, std::size_t written)> OnSent;

    // Writes `bytes` at loop time `time` (at once when it has passed).
    void SendAt(plat::Millis time, std::string bytes);

private:
    void OnReadable();
    void Write(const std::string& bytes);

    int master_ = -1;
    int slave_ = -1;
    std::string device_;
    uint64_t watch_ = 0;
    std::set<uint64_t> scheduled_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace sim
