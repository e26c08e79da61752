#pragma once
// The files of one folder as stamps (inode, size, time, mode), to tell whether an action changed
// anything on disk.

#include <map>
#include <string>

namespace fuzz_operator {

class FolderSnapshot {
public:
    explicit FolderSnapshot(std::string folder) : folder_(std::move(folder)) { Take(); }
    // Reads the folder again; true when anything differs from the last reading.
    bool Take();
    // The files that differ between the last two readings (added, removed or changed).
    const std::string& Changes() const { return changes_; }
    bool Changed(const std::string& file) const { return changes_.find("\"" + file + "\"") != std::string::npos; }

private:
    std::string folder_;
    std::map<std::string, std::string> files_;
    std::string changes_;
};

}  // namespace fuzz_operator
