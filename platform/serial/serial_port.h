#pragma once
// The serial-port layer that stands in for the outside serial-port control.
// It offers exactly what the driver's port wrapper uses: open with a port
// number and a settings text, close, open state, write text, take all received
// text, count and discard received input, count output still waiting.
//
// Port numbers name devices: port N is /dev/ttyS<N-1> unless the registry
// stand-in maps it (HKEY_LOCAL_MACHINE "Software\Velam\Orvik\SerialPorts",
// value "COM<N>" = device path; see README).
//
// Received input is watched by the thread's message loop, so an idle pump
// wakes when characters arrive.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace plat {

enum class PortError {
    None = 0,
    NoSuchDevice,  // the device does not exist (or the port number names none)
    Busy,          // locked or in use by another user
    BadSettings,   // the settings text cannot be applied
    Io,            // any other failure: read, write, hang-up, not open
};

std::string PortErrorText(PortError e);

class SerialPort {
public:
    virtual ~SerialPort() = default;

    // Opens port `portNumber` with settings like "9600,N,8,1" (raw mode, no
    // flow control, exclusive lock).
    virtual PortError Open(int32_t portNumber, std::string_view settings) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;

    // Writes all of `text` unchanged.
    virtual PortError Write(std::string_view text) = 0;
    // Appends whatever has arrived to `out` (possibly nothing); never blocks.
    virtual PortError Read(std::string& out) = 0;
    // Characters received and not yet read; -1 with `error` set on failure.
    virtual int32_t InBufferCount(PortError* error = nullptr) = 0;
    virtual void DiscardInput() = 0;
    virtual int32_t OutBufferCount() = 0;
    // True once the other end has gone away (a pseudo-terminal closed, a USB
    // adapter pulled); the port stays so until it is closed. A port that
    // cannot tell says false.
    virtual bool HungUp() { return false; }
};

// Creates the port layer's ports: the termios port by default; tests install a
// fake. Set(nullptr) restores the default.
using SerialPortFactory = std::function<std::unique_ptr<SerialPort>()>;
std::unique_ptr<SerialPort> CreateSerialPort();
void SetSerialPortFactory(SerialPortFactory factory);

// The termios port, whatever factory is installed.
std::unique_ptr<SerialPort> CreateTermiosPort();

// The device path of a port number (see above); "" for numbers below 1 and
// when the registry file cannot be read (a mapping may be in it).
std::string SerialDevicePath(int32_t portNumber);

// A settings text "baud,parity,data,stop" such as "9600,N,8,1": a standard
// baud rate, parity N, E or O (either case), 5 to 8 data bits, 1 or 2 stop
// bits; blanks around the fields are allowed. False for any other text.
struct SerialSettings {
    int32_t baud = 9600;
    char parity = 'N';
    int dataBits = 8;
    int stopBits = 1;
};
bool ParseSerialSettings(std::string_view text, SerialSettings& out);

}  // namespace plat
