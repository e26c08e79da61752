#include "driver/server.h"

#include "driver/pelmo2_vti.h"
#include "driver/vti_error.h"
#include "driver/vti_interface.h"
#include "driver/xvti_control.h"
#include "platform/values/text.h"

namespace drv {

std::vector<std::string> ServedProgIds() {
    return {kXVTIControlProgId, kCPelmo2VTIProgId, kCPelmo2VTIErrorProgId, kEStatusProgId};
}

plat::ObjectPtr CreateServedObject(std::string_view progId) {
    if (plat::EqualsNoCase(progId, kXVTIControlProgId)) return std::make_shared<XVTIControl>();
    if (plat::EqualsNoCase(progId, kCPelmo2VTIProgId)) return std::make_shared<CPelmo2VTI>();
    if (plat::EqualsNoCase(progId, kCPelmo2VTIErrorProgId)) return std::make_shared<CPelmo2VTIError>();
    if (plat::EqualsNoCase(progId, kEStatusProgId)) return std::make_shared<EStatus>();
    return nullptr;
}

}  // namespace drv
