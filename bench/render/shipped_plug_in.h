#pragma once
// The real plug-in library beside the drawing program, registered in a
// scratch registry file and initialised with its shipped template, for as
// long as the object lives.

#include <filesystem>
#include <memory>
#include <string>

#include "host/test_element.h"

class ShippedPlugIn {
public:
    // Throws (plat::ComError, host errors) when the library cannot be loaded.
    explicit ShippedPlugIn(const std::string& scratchName);
    ~ShippedPlugIn();
    ShippedPlugIn(const ShippedPlugIn&) = delete;
    ShippedPlugIn& operator=(const ShippedPlugIn&) = delete;

    host::IPlugIn& operator*() const { return *plugIn_; }
    host::IPlugIn* operator->() const { return plugIn_.get(); }

private:
    std::filesystem::path scratch_;
    std::filesystem::path library_;
    std::shared_ptr<host::IPlugIn> plugIn_;
};
