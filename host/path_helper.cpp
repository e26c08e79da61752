#include "host/path_helper.h"

#include "platform/com/fs.h"

namespace host {

std::string CPathHelper::AddBackslash(std::string_view path) const {
    if (path.empty()) return {};
    size_t end = path.size();
    while (end > 0 && path[end - 1] == '/') --end;
    return std::string(path.substr(0, end)) + "/";
}

bool CPathHelper::FileExists(std::string_view path) const {
    return !path.empty() && plat::fs::FileExists(std::string(path));
}

std::string CPathHelper::LongToText(int32_t value) const { return std::to_string(value); }

CPathHelper& PathHelper() {
    static CPathHelper helper;
    return helper;
}

}  // namespace host
