#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/serial/serial_port.h"

namespace drv {

// The serial port of one channel (serial_channel.h), reduced to the few
// operations the channel uses. A port that could not be created behaves as one
// that is not open (Io).
class FComm {
public:
    FComm();
    ~FComm();
    FComm(const FComm&) = delete;
    FComm& operator=(const FComm&) = delete;

    bool PortOpen() const;
    void ClosePortIfOpen();
    // Takes all received characters.
    plat::PortError InputValue(std::string& out);
    // Writes the text unchanged.
    plat::PortError OutputValue(std::string_view text);
    int32_t OutBufferCount();
    // Characters received and not yet read; -1 with `error` set on failure.
    int32_t InBufferCount(plat::PortError* error);
    // Discards received input.
    void ClearInBuffer();
    // The open port's other end has gone away.
    bool HungUp();
    plat::PortError InitPort(int16_t port, const std::string& settings);

private:
    std::unique_ptr<plat::SerialPort> port_;
};

}  // namespace drv
