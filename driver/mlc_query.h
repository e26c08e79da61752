#pragma once
// The host's instrument query interface, which the driver implements so that
// the host can ask whether a simulator answers on a port.

#include <cstdint>
#include <string>

namespace drv {

// The host's 16-byte record. The driver fills only the first and the last
// field; the two between stay empty.
struct MtiQueryRecord {
    std::string MtiType;
    std::string Field2;
    std::string Field3;
    int32_t Found = 0;
};

class IOrvikMLCQuery {
public:
    virtual ~IOrvikMLCQuery() = default;
    virtual std::string MtiType() const = 0;
    virtual std::string SerialNo() const = 0;
    virtual std::string FWVersion() const = 0;
    virtual MtiQueryRecord QueryMTI(int32_t iPort) = 0;
};

}  // namespace drv
