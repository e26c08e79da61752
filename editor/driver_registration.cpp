#include "editor/driver_registration.h"

#include "driver/vti_interface.h"
#include "platform/com/com.h"
#include "platform/com/fs.h"
#include "platform/com/registry.h"
#include "platform/values/pass_over.h"

namespace editor {

namespace {

std::string RegisteredLibrary() {
    std::string path;
    plat::PassOver([&] {
        path = plat::Registry::Instance().ReadValue(
            plat::Hive::ClassesRoot, std::string(drv::kXVTIControlProgId) + "\\InprocServer32", "");
    });
    return path;
}

}  // namespace

bool EnsureDriverRegistered(const std::string& folder) {
    if (const std::string current = RegisteredLibrary(); !current.empty() && plat::fs::FileExists(current))
        return true;
    const std::string library = plat::fs::Join(folder, kDriverLibrary);
    if (!plat::fs::FileExists(library)) return false;
    plat::PassOver([&] { plat::RegisterServer(library); });
    const std::string registered = RegisteredLibrary();
    return !registered.empty() && plat::fs::FileExists(registered);
}

}  // namespace editor
