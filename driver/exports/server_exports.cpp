// The in-process server exports of liborvikPelmo2VTI.so.

#include "driver/server.h"
#include "driver/vti_error.h"
#include "platform/com/com.h"

namespace {
constexpr int32_t kOk = 0;
constexpr int32_t kFalse = 1;                                            // S_FALSE
constexpr int32_t kClassNotAvailable = static_cast<int32_t>(0x80040111);  // CLASS_E_CLASSNOTAVAILABLE
constexpr int32_t kRegistrationFailed = static_cast<int32_t>(0x80040201); // SELFREG_E_CLASS
}  // namespace

extern "C" {

int32_t DllRegisterServer() {
    try {
        plat::RecordServerProgIds(drv::ServedProgIds(), reinterpret_cast<const void*>(&DllRegisterServer));
        return kOk;
    } catch (...) {
        return kRegistrationFailed;
    }
}

int32_t DllUnregisterServer() {
    try {
        plat::EraseServerProgIds(drv::ServedProgIds());
        return kOk;
    } catch (...) {
        return kRegistrationFailed;
    }
}

int32_t DllGetClassObject(const char* progId, plat::ObjectPtr* result) {
    if (!progId || !result) return kClassNotAvailable;
    try {
        plat::ObjectPtr object = drv::CreateServedObject(progId);
        if (!object) return kClassNotAvailable;
        *result = std::move(object);
        return kOk;
    } catch (...) {
        return kClassNotAvailable;
    }
}

int32_t DllCanUnloadNow() { return drv::LibraryObjectCount::Live() == 0 ? kOk : kFalse; }

}  // extern "C"
