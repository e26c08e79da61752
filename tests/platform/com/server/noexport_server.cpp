// A server that registers itself but cannot create anything.
#include "platform/com/com.h"

extern "C" int32_t DllRegisterServer() {
    try {
        plat::RecordServerProgIds({"OrvikComTest.NoExport"}, reinterpret_cast<const void*>(&DllRegisterServer));
        return 0;
    } catch (...) {
        return 1;
    }
}
