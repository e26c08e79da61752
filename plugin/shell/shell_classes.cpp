#include "plugin/shell/shell_classes.h"

#include "plugin/shell/mti_data.h"
#include "plugin/shell/pelmo2_plugin.h"
#include "plugin/shell/plugin_setup.h"
#include "plugin/shell/test_data.h"
#include "plugin/shell/test_group.h"
#include "plugin/shell/x_plugin_setup.h"
#include "plugin/shell/x_mti_data.h"

namespace plugin {

namespace {
template <class T>
ServedClass Served(const char* className) {
    return {std::string(kProjectName) + "." + className, [] { return plat::ObjectPtr(std::make_shared<T>()); }};
}
}  // namespace

const plat::ServedClasses& ShellClasses() {
    static const plat::ServedClasses classes = {
        Served<CPelmo2Plugin>("CPelmo2Plugin"),
        {std::string(kProjectName) + ".CTestGroup", [] { return plat::ObjectPtr(CTestGroup::New()); }},
        Served<CTestData>("CTestData"),
        Served<CPluginSetup>("CPluginSetup"),
        Served<XPluginSetup>("XPluginSetup"),
        Served<CMtiData2>("CMtiData2"),
        Served<XMTIData>("XMTIData"),
    };
    return classes;
}

void RegisterShellClasses() {
    for (const ServedClass& served : ShellClasses()) plat::RegisterClass(served.progId, served.factory);
}

}  // namespace plugin
