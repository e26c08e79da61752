#include "fuzz/operator/folder_snapshot.h"

#include <dirent.h>
#include <sys/stat.h>

namespace fuzz_operator {

namespace {

// A file is replaced through a new file renamed over it, so its inode, size
// and time tell every write apart without reading it.
std::string Stamp(const struct stat& st) {
    return std::to_string(st.st_ino) + "/" + std::to_string(st.st_size) + "/" + std::to_string(st.st_mtim.tv_sec) +
           "." + std::to_string(st.st_mtim.tv_nsec) + "/" + std::to_string(st.st_mode);
}

}  // namespace

bool FolderSnapshot::Take() {
    std::map<std::string, std::string> now;
    if (DIR* dir = ::opendir(folder_.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name == "." || name == "..") continue;
            struct stat st {};
            if (::stat((folder_ + "/" + name).c_str(), &st) == 0) now[name] = Stamp(st);
        }
        ::closedir(dir);
    }
    changes_.clear();
    for (const auto& [name, stamp] : now) {
        auto was = files_.find(name);
        if (was == files_.end() || was->second != stamp) changes_ += "\"" + name + "\" ";
    }
    for (const auto& [name, stamp] : files_)
        if (!now.count(name)) changes_ += "\"" + name + "\" ";
    files_ = std::move(now);
    return !changes_.empty();
}

}  // namespace fuzz_operator
