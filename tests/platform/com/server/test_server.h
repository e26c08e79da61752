#pragma once
// The interface of the test server's control, shared by the server and the tests.

#include <string>

#include "platform/com/com.h"

namespace comtest {

inline constexpr const char* kControlProgId = "OrvikComTest.TestControl";
// Recorded by the server but refused by its DllGetClassObject.
inline constexpr const char* kUnservedProgId = "OrvikComTest.Unserved";

class ITestControl : public plat::ControlObject {
public:
    // Raises `eventName` with two parameters and returns them as the handler left them.
    virtual std::vector<plat::Variant> Fire(const std::string& eventName) = 0;
    // Raises the event, then goes on using the object (counts it afterwards).
    virtual void FireThenCount(const std::string& eventName) = 0;
    virtual int FiredCount() const = 0;
};

}  // namespace comtest
