// What every renderer test process needs before Qt starts: its own runtime
// folder (never a fixed global one), and the sanitizer told about memory
// that fontconfig keeps for the life of the process.
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <system_error>

extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace {

struct RuntimeFolder {
    std::string path;
    RuntimeFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvik-qt-runtime-XXXXXX").string();
        if (::mkdtemp(pattern.data())) {  // made 0700, as Qt wants it
            path = pattern;
            ::setenv("XDG_RUNTIME_DIR", path.c_str(), 1);
        }
    }
    ~RuntimeFolder() {
        std::error_code ec;
        if (!path.empty()) std::filesystem::remove_all(path, ec);
    }
};

const RuntimeFolder kRuntimeFolder;

}  // namespace
