#include "tests/platform/com/server/test_server.h"

#include <cstring>

namespace {

class TestControl : public comtest::ITestControl {
public:
    std::vector<plat::Variant> Fire(const std::string& eventName) override {
        ++fired_;
        return RaiseEvent(eventName, std::vector<plat::Variant>(2));
    }
    void FireThenCount(const std::string& eventName) override {
        auto hold = KeepAlive();
        RaiseEvent(eventName, {});
        ++fired_;
    }
    int FiredCount() const override { return fired_; }

private:
    int fired_ = 0;
};

}  // namespace

extern "C" int32_t DllRegisterServer() {
    try {
        plat::RecordServerProgIds({comtest::kControlProgId, comtest::kUnservedProgId},
                                  reinterpret_cast<const void*>(&DllRegisterServer));
        return 0;
    } catch (...) {
        return 1;
    }
}

extern "C" int32_t DllUnregisterServer() {
    try {
        plat::EraseServerProgIds({comtest::kControlProgId, comtest::kUnservedProgId});
        return 0;
    } catch (...) {
        return 1;
    }
}

extern "C" int32_t DllGetClassObject(const char* progId, plat::ObjectPtr* result) {
    if (::strcmp(progId, comtest::kControlProgId) != 0) return 1;  // exact: the caller passes our own spelling
    *result = std::make_shared<TestControl>();
    return 0;
}

extern "C" int32_t DllCanUnloadNow() { return 1; }
