#include "plugin/config/config_classes.h"

#include "plugin/config/x_custom_make.h"
#include "plugin/config/x_spo2_simulation_config_view.h"

namespace plugin {

const plat::ServedClasses& ConfigClasses() {
    static const plat::ServedClasses classes = {
        {std::string(kProjectName) + ".XCustomMake", [] { return plat::ObjectPtr(std::make_shared<XCustomMake>()); }},
        {std::string(kProjectName) + ".XSpO2SimulationConfigView",
         [] { return plat::ObjectPtr(std::make_shared<XSpO2SimulationConfigView>()); }},
    };
    return classes;
}

void RegisterConfigClasses() {
    for (const ServedClass& served : ConfigClasses()) plat::RegisterClass(served.progId, served.factory);
}

}  // namespace plugin
