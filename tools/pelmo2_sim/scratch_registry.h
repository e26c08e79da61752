#pragma once
// Points the instrument link at a device in a registry file of its own (the
// .reg layout of the registry stand-in), so that a driver run with
// ORVIK_REGISTRY_FILE set to that file opens the simulator: the instrument
// type "Pelmo2" gets port `port`, and port `port` is mapped to `device`.
// Other keys and values already in the file stay as they are.

#include <cstdint>
#include <string>

namespace sim {

// Throws plat::RegistryError when the file cannot be read or written.
void WriteScratchRegistry(const std::string& file, int32_t port, const std::string& device);

}  // namespace sim
