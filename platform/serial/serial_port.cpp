#include "platform/serial/serial_port.h"

#include "platform/com/registry.h"

#include <cctype>
#include <charconv>
#include <mutex>
#include <utility>

namespace plat {

namespace {

std::mutex& FactoryMutex() {
    static std::mutex m;
    return m;
}

SerialPortFactory& Factory() {
    static SerialPortFactory f;
    return f;
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

bool ParseWhole(std::string_view s, int32_t& out) {
    s = TrimBlanks(s);
    if (s.empty()) return false;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && end == s.data() + s.size();
}

bool IsStandardBaud(int32_t baud) {
    static constexpr int32_t kRates[] = {50,   75,   110,  134,   150,   200,   300,    600,   1200,
                                         1800, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400};
    for (int32_t r : kRates)
        if (r == baud) return true;
    return false;
}

}  // namespace

std::string PortErrorText(PortError e) {
    switch (e) {
        case PortError::None: return "no error";
        case PortError::NoSuchDevice: return "no such serial device";
        case PortError::Busy: return "serial port is in use";
        case PortError::BadSettings: return "bad serial port settings";
        case PortError::Io: return "serial port input/output error";
    }
    return "unknown serial port error";
}

std::unique_ptr<SerialPort> CreateSerialPort() {
    SerialPortFactory f;
    {
        std::lock_guard<std::mutex> lock(FactoryMutex());
        f = Factory();
    }
    if (f) return f();
    return CreateTermiosPort();
}

void SetSerialPortFactory(SerialPortFactory factory) {
    std::lock_guard<std::mutex> lock(FactoryMutex());
    Factory() = std::move(factory);
}

std::string SerialDevicePath(int32_t portNumber) {
    if (portNumber < 1) return "";
    std::string mapped;
    try {
        mapped = Registry::Instance().ReadValue(Hive::LocalMachine, "Software\\Velam\\Orvik\\SerialPorts",
                                                "COM" + std::to_string(portNumber));
    } catch (const std::exception&) {
        // A mapping may be in the unreadable file: guessing a device could talk to the wrong one.
        return "";
    }
    std::string_view path = TrimBlanks(mapped);
    if (!path.empty()) return std::string(path);
    return "/dev/ttyS" + std::to_string(portNumber - 1);
}

bool ParseSerialSettings(std::string_view text, SerialSettings& out) {
    std::string_view fields[4];
    std::size_t n = 0;
    while (true) {
        std::size_t comma = text.find(',');
        if (n == 4) return false;
        fields[n++] = TrimBlanks(text.substr(0, comma));
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    if (n != 4) return false;

    SerialSettings s;
    if (!ParseWhole(fields[0], s.baud) || !IsStandardBaud(s.baud)) return false;
    if (fields[1].size() != 1) return false;
    s.parity = static_cast<char>(std::toupper(static_cast<unsigned char>(fields[1][0])));
    if (s.parity != 'N' && s.parity != 'E' && s.parity != 'O') return false;
    int32_t v = 0;
    if (!ParseWhole(fields[2], v) || v < 5 || v > 8) return false;
    s.dataBits = v;
    if (!ParseWhole(fields[3], v) || (v != 1 && v != 2)) return false;
    s.stopBits = v;
    out = s;
    return true;
}

}  // namespace plat
