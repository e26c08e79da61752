#include "tools/pelmo2_sim/scratch_registry.h"

#include <filesystem>

#include "platform/com/registry.h"

namespace sim {

void WriteScratchRegistry(const std::string& file, int32_t port, const std::string& device) {
    const std::filesystem::path folder = std::filesystem::path(file).parent_path();
    std::error_code ec;
    if (!folder.empty()) std::filesystem::create_directories(folder, ec);
    plat::Registry registry(file);
    registry.WriteValue(plat::Hive::LocalMachine, "Software\\Velam\\Orvik\\SerialPorts", "COM" + std::to_string(port),
                        device);
    registry.WriteValue(plat::Hive::LocalMachine, "Software\\Velam\\Orvik\\InstrumentLink\\Pelmo2", "Port",
                        std::to_string(port));
}

}  // namespace sim
