#include "hostprog/server_registration.h"

#include "platform/com/com.h"
#include "platform/com/fs.h"
#include "platform/com/registry.h"
#include "platform/values/pass_over.h"

namespace hostprog {

namespace {

std::string RegisteredLibrary(const std::string& progId) {
    std::string path;
    plat::PassOver([&] {
        path = plat::Registry::Instance().ReadValue(plat::Hive::ClassesRoot, progId + "\\InprocServer32", "");
    });
    return path;
}

bool Usable(const std::string& path) { return !path.empty() && plat::fs::FileExists(path); }

}  // namespace

bool EnsureServerRegistered(const std::string& progId, const std::string& library) {
    if (Usable(RegisteredLibrary(progId))) return true;
    if (!plat::fs::FileExists(library)) return false;
    plat::PassOver([&] { plat::RegisterServer(library); });
    return Usable(RegisteredLibrary(progId));
}

}  // namespace hostprog
