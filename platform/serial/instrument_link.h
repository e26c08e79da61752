#pragma once
// Stand-in for the host's instrument-link library: the serial port configured
// for an instrument type, read from the registry stand-in
// (HKEY_LOCAL_MACHINE "Software\Velam\Orvik\InstrumentLink\<type>", value
// "Port"). No value, or one that is no whole number, gives 0.

#include <cstdint>
#include <string>

namespace plat {

// The original's GetInstrumentPort(type, second text, port by reference):
// fills `port` (0 when none is configured). Throws nothing.
void GetInstrumentPort(const std::string& instrumentType, const std::string& reserved, int32_t& port);

}  // namespace plat
