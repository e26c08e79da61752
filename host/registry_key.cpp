#include "host/registry_key.h"

#include "host/error_service.h"
#include "platform/com/registry.h"

namespace host {

namespace {

plat::Hive ToHive(HKey hive) {
    switch (hive) {
        case HKey::ClassesRoot: return plat::Hive::ClassesRoot;
        case HKey::CurrentUser: return plat::Hive::CurrentUser;
        case HKey::LocalMachine: break;
    }
    return plat::Hive::LocalMachine;
}

// "\Software\\Velam\" -> "Software\Velam".
std::string NormalizeKeyPath(std::string_view path) {
    std::string out;
    for (char c : path) {
        if (c != '\\') out += c;
        else if (!out.empty() && out.back() != '\\') out += c;
    }
    if (!out.empty() && out.back() == '\\') out.pop_back();
    return out;
}

[[noreturn]] void Fail(const std::string& what) {
    throw HostError("Orvik", errors::RegistryFailed, "CRegistryKey", 2, what);
}

}  // namespace

void CRegistryKey::Open(HKey hive, std::string_view keyPath) {
    hive_ = hive;
    keyPath_ = NormalizeKeyPath(keyPath);
    open_ = true;
}

void CRegistryKey::Create(HKey hive, std::string_view keyPath) {
    Open(hive, keyPath);
    try {
        plat::Registry::Instance().CreateKey(ToHive(hive_), keyPath_);
    } catch (const std::exception& e) {
        Fail("The registry key \"" + keyPath_ + "\" cannot be created: " + e.what());
    }
}

std::string CRegistryKey::ReadValue(std::string_view name) const {
    if (!open_) return {};
    try {
        return plat::Registry::Instance().ReadValue(ToHive(hive_), keyPath_, name);
    } catch (const std::exception&) {
        return {};
    }
}

void CRegistryKey::WriteValue(std::string_view name, std::string_view value) {
    if (!open_) Fail("No registry key is open for writing the value \"" + std::string(name) + "\"");
    try {
        plat::Registry::Instance().WriteValue(ToHive(hive_), keyPath_, name, value);
    } catch (const std::exception& e) {
        Fail("The registry value \"" + std::string(name) + "\" of \"" + keyPath_ + "\" cannot be written: " +
             e.what());
    }
}

}  // namespace host
