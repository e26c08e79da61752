// The in-process server exports of the plug-in library: registration of its
// ProgIDs and creation of its classes by ProgID.
#include <string>
#include <vector>

#include "platform/com/com.h"
#include "platform/values/text.h"
#include "plugin/config/config_classes.h"
#include "plugin/config/server_lock.h"

namespace {

std::vector<std::string> ServedProgIds() {
    std::vector<std::string> ids;
    for (const plugin::ServedClass& served : plugin::ConfigClasses()) ids.push_back(served.progId);
    return ids;
}

const char kLibraryAnchor = 0;

}  // namespace

extern "C" {

int32_t DllRegisterServer() {
    try {
        plat::RecordServerProgIds(ServedProgIds(), &kLibraryAnchor);
        return 0;
    } catch (...) {
        return 1;
    }
}

int32_t DllUnregisterServer() {
    try {
        plat::EraseServerProgIds(ServedProgIds());
        return 0;
    } catch (...) {
        return 1;
    }
}

int32_t DllGetClassObject(const char* progId, plat::ObjectPtr* result) {
    if (!progId || !result) return 1;
    try {
        for (const plugin::ServedClass& served : plugin::ConfigClasses()) {
            if (!plat::EqualsNoCase(served.progId, progId)) continue;
            *result = served.factory();
            return *result ? 0 : 1;
        }
    } catch (...) {
    }
    return 1;
}

int32_t DllCanUnloadNow() { return plugin::ServerLock::Count() == 0 ? 0 : 1; }

}  // extern "C"
