#include "bench/render/shipped_plug_in.h"

#include <system_error>

#include "platform/com/com.h"
#include "platform/com/registry.h"

namespace {
const char kAnchor = 0;
}  // namespace

ShippedPlugIn::ShippedPlugIn(const std::string& scratchName)
    : scratch_(std::filesystem::temp_directory_path() / scratchName),
      library_(std::filesystem::path(plat::ModulePath(&kAnchor)).parent_path() / "liborvikPelmo2.so") {
    plat::Registry::UseFile(scratch_.string());
    plat::RegisterServer(library_.string());
    plugIn_ = plat::CreateObjectAs<host::IPlugIn>("OrvikPelmo2.CPelmo2Plugin");
    plugIn_->Initialize(nullptr);
}

ShippedPlugIn::~ShippedPlugIn() {
    plugIn_.reset();
    try {
        plat::UnregisterServer(library_.string());
    } catch (...) {
    }
    std::error_code ec;
    std::filesystem::remove(scratch_, ec);
}
