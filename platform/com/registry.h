#pragma once
// The registry stand-in: hives of keys holding named text values, persisted in
// one text file in the .reg export layout:
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_LOCAL_MACHINE\Software\Velam\Orvik\Pelmo2]
//   "Path"="/home/bench/makes/"
//   @="unnamed value"
//
// The file is $ORVIK_REGISTRY_FILE, else $XDG_CONFIG_HOME/orvik/registry.reg,
// else ~/.config/orvik/registry.reg. Key paths use "\" and are compared
// without regard to case. A missing key or value reads as "". Every access
// re-reads the file under a lock (so a second process's writes are seen);
// every write rewrites it atomically (temporary file, then rename) under an
// exclusive lock. A file that cannot be parsed gives RegistryError naming the
// file and line; it is never silently reset.

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

enum class Hive { LocalMachine, ClassesRoot, CurrentUser };

class RegistryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Registry {
public:
    // The process's registry (file chosen as above at first use).
    static Registry& Instance();
    // Points the process's registry at another file (tests use a temporary file).
    static void UseFile(const std::string& path);
    static std::string DefaultFilePath();

    explicit Registry(std::string filePath);
    const std::string& FilePath() const { return path_; }

    // Name "" is the key's unnamed (default) value.
    std::string ReadValue(Hive hive, std::string_view keyPath, std::string_view name) const;
    bool KeyExists(Hive hive, std::string_view keyPath) const;
    bool ValueExists(Hive hive, std::string_view keyPath, std::string_view name) const;
    std::vector<std::string> SubKeys(Hive hive, std::string_view keyPath) const;
    std::vector<std::string> ValueNames(Hive hive, std::string_view keyPath) const;

    // Writes create the key path as needed. Throw RegistryError.
    void CreateKey(Hive hive, std::string_view keyPath);
    void WriteValue(Hive hive, std::string_view keyPath, std::string_view name, std::string_view value);
    void DeleteValue(Hive hive, std::string_view keyPath, std::string_view name);
    void DeleteKey(Hive hive, std::string_view keyPath);  // with its subkeys

private:
    std::string path_;
};

std::string HiveName(Hive hive);  // "HKEY_LOCAL_MACHINE", ...

}  // namespace plat
