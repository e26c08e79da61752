#include "editor/driver_registration.h"

#include "driver/vti_interface.h"
#include "platform/com/com.h"
#include "platform/com/fs.h"

namespace editor {

bool EnsureDriverRegistered(const std::string& folder) {
    return plat::EnsureServerRegistered(drv::kXVTIControlProgId, plat::fs::Join(folder, kDriverLibrary));
}

}  // namespace editor
