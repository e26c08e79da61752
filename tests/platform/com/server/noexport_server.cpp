// A server that registers itself but cannot create anything.
#include "platform/com/com.h"

namespace {
const char kAnchor = 0;
}

extern "C" int32_t DllRegisterServer() {
    try {
        plat::RecordServerProgIds({"OrvikComTest.NoExport"}, &kAnchor);
        return 0;
    } catch (...) {
        return 1;
    }
}
