// Arbitrary bytes as the registry file. A file that reads must list the same
// keys and values after a write has rewritten it, plus the value written; one
// that does not read must fail with RegistryError and nothing else.
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <tuple>

#include "platform/com/registry.h"

namespace {

using Entries = std::map<std::tuple<int, std::string, std::string>, std::string>;

// The file in a folder of this process's own, removed when the process ends.
const std::string& FilePath() {
    static const std::string folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvik-fuzz-registry-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        return pattern;
    }();
    static const std::string path = [] {
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(folder, ec);
        });
        return folder + "/registry.reg";
    }();
    return path;
}

// Every value below `key`, by hive, key path (upper case) and name (upper case).
void Walk(const plat::Registry& reg, plat::Hive hive, const std::string& key, Entries& out, int depth) {
    if (depth > 64) return;
    auto upper = [](std::string s) {
        for (char& c : s)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        return s;
    };
    for (const std::string& name : reg.ValueNames(hive, key))
        out[{static_cast<int>(hive), upper(key), upper(name)}] = reg.ReadValue(hive, key, name);
    for (const std::string& sub : reg.SubKeys(hive, key)) Walk(reg, hive, key.empty() ? sub : key + "\\" + sub, out, depth + 1);
}

Entries All(const plat::Registry& reg) {
    Entries out;
    for (plat::Hive hive : {plat::Hive::LocalMachine, plat::Hive::ClassesRoot, plat::Hive::CurrentUser})
        Walk(reg, hive, "", out, 0);
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& path = FilePath();
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    if (size && std::fwrite(data, 1, size, f) != size) std::abort();
    std::fclose(f);

    plat::Registry reg(path);
    Entries before;
    try {
        before = All(reg);
    } catch (const plat::RegistryError&) {
        return 0;
    }
    reg.WriteValue(plat::Hive::CurrentUser, "Fuzz\\Written", "Marker", "a \"quoted\"\\value\r\n");
    Entries after = All(reg);
    before[{static_cast<int>(plat::Hive::CurrentUser), "FUZZ\\WRITTEN", "MARKER"}] = "a \"quoted\"\\value\r\n";
    if (after != before) std::abort();
    return 0;
}
