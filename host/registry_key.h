#pragma once
// The host's registry key object: made new for one use, opened on a hive and
// a key path, then one value read or written. Works over plat::Registry.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/values/variant.h"

namespace host {

// The hive handles as the host's interface passes them.
enum class HKey : uint32_t {
    ClassesRoot = 0x80000000u,
    CurrentUser = 0x80000001u,
    LocalMachine = 0x80000002u,
};

class CRegistryKey : public plat::Object {
public:
    // Opens a key for reading and writing. A missing key is no failure: its
    // values read as "". Key paths use "\"; leading, trailing and doubled
    // separators are ignored.
    void Open(HKey hive, std::string_view keyPath);
    // Creates the key (with its parents) when missing and opens it. Throws
    // HostError (errors::RegistryFailed) when the registry cannot be written.
    void Create(HKey hive, std::string_view keyPath);

    // The value's text; "" for a missing key or value, for a key never opened
    // and for any registry failure.
    std::string ReadValue(std::string_view name) const;
    // Writes the value (creating the open key when missing). Throws HostError
    // (errors::RegistryFailed) when no key is open or the write fails.
    void WriteValue(std::string_view name, std::string_view value);

    bool IsOpen() const { return open_; }
    const std::string& KeyPath() const { return keyPath_; }

private:
    bool open_ = false;
    HKey hive_ = HKey::LocalMachine;
    std::string keyPath_;
};

}  // namespace host
