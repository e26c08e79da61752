#include "fuzz/operator/process_sandbox.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "host/error_service.h"
#include "host/language_service.h"
#include "platform/com/registry.h"

namespace fuzz_operator {

ProcessSandbox::ProcessSandbox() {
    // In memory where the machine offers it: the product syncs every file it
    // replaces, and thousands of sessions a minute would wait on the disk.
    std::error_code ec;
    const std::filesystem::path base =
        ::access("/dev/shm", W_OK) == 0 ? std::filesystem::path("/dev/shm") : std::filesystem::temp_directory_path(ec);
    std::string pattern = (base / "orvik-fuzz-operator-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    folder_ = pattern;
    plat::Registry::UseFile(folder_ + "/registry.reg");
    host::LanguageService().SetLanguagesRoot(folder_ + "/languages");
    host::LanguageService().SetLanguage("English");
    host::LanguageService().Reload();
    host::ErrorService().SetEcho(false);
    // Serial ports take their locks here, never in /run/lock; the instrument
    // link names port 1, where the fuzz targets put their fake line.
    std::filesystem::create_directories(folder_ + "/lock", ec);
    ::setenv("ORVIK_SERIAL_LOCK_DIRS", (folder_ + "/lock").c_str(), 1);
    plat::Registry::Instance().WriteValue(plat::Hive::LocalMachine, "Software\\Velam\\Orvik\\InstrumentLink\\Pelmo2",
                                          "Port", "1");
    static const std::string removed = folder_;
    std::atexit([] {
        std::error_code ec;
        std::filesystem::remove_all(removed, ec);
    });
}

ProcessSandbox& ProcessSandbox::Instance() {
    static ProcessSandbox sandbox;
    return sandbox;
}

std::string ProcessSandbox::EmptyFolder(const std::string& name) const {
    const std::string path = folder_ + "/" + name;
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
    std::filesystem::create_directories(path, ec);
    return path;
}

}  // namespace fuzz_operator
