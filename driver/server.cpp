#include "driver/server.h"

#include "driver/pelmo2_vti.h"
#include "driver/vti_error.h"
#include "driver/vti_interface.h"
#include "driver/x_vti_control.h"

namespace drv {

plat::ServedClasses ServedClasses() {
    return {
        {kXVTIControlProgId, [] { return plat::ObjectPtr(std::make_shared<XVTIControl>()); }},
        {kCPelmo2VTIProgId, [] { return plat::ObjectPtr(std::make_shared<CPelmo2VTI>()); }},
        {kCPelmo2VTIErrorProgId, [] { return plat::ObjectPtr(std::make_shared<CPelmo2VTIError>()); }},
        {kEStatusProgId, [] { return plat::ObjectPtr(std::make_shared<EStatus>()); }},
    };
}

int64_t LiveObjects() { return LibraryObjectCount::Live(); }

}  // namespace drv
