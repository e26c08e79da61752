#pragma once
// The driver's error object and the library's object count (for DllCanUnloadNow).

#include <cstdint>

#include "driver/vti_interface.h"
#include "platform/values/variant.h"

namespace drv {

// Counts the live objects of the library's classes while it is a member.
class LibraryObjectCount {
public:
    LibraryObjectCount();
    LibraryObjectCount(const LibraryObjectCount&);
    LibraryObjectCount& operator=(const LibraryObjectCount&) = default;
    ~LibraryObjectCount();
    static int32_t Live();
};

// Carries one status; 0 in a new object until the first Reset or assignment.
class CPelmo2VTIError final : public plat::Object, public ICPelmo2VTIError {
public:
    ECommsStatus ErrorNumber() const override { return errorNumber_; }
    void SetErrorNumber(ECommsStatus value) override { errorNumber_ = value; }
    void Reset() override { errorNumber_ = ecsOK; }

private:
    ECommsStatus errorNumber_ = static_cast<ECommsStatus>(0);
    LibraryObjectCount count_;
};

// The class that carries ECommsStatus in the type library; it has no members.
class EStatus final : public plat::Object {
    LibraryObjectCount count_;
};

}  // namespace drv
