#pragma once
// Registry access for the configuration tests, inside a test sandbox.

#include <string>
#include <string_view>

#include "platform/com/registry.h"
#include "tests/support/sandbox.h"

namespace plugin_test {

class ConfigTest : public test_support::SandboxTest {
protected:
    static plat::Registry& Reg() { return plat::Registry::Instance(); }
    static std::string Read(std::string_view key, std::string_view name) {
        return Reg().ReadValue(plat::Hive::LocalMachine, key, name);
    }
    static void Write(std::string_view key, std::string_view name, std::string_view value) {
        Reg().WriteValue(plat::Hive::LocalMachine, key, name, value);
    }
};

}  // namespace plugin_test
