// The in-process server exports of the plug-in library: registration of its
// ProgIDs and creation of its classes by ProgID.
#include "platform/com/com.h"
#include "plugin/config/config_classes.h"
#include "plugin/factory/server_lock.h"
#include "plugin/results/results_classes.h"
#include "plugin/shell/shell_classes.h"

namespace {

// Every creatable class of the plug-in, each part's list in turn.
plat::ServedClasses PluginClasses() {
    plat::ServedClasses classes;
    for (const plat::ServedClasses* part : {&plugin::ConfigClasses(), &plugin::ShellClasses(), &plugin::ResultsClasses()})
        classes.insert(classes.end(), part->begin(), part->end());
    return classes;
}

int64_t LiveObjects() { return plugin::ServerLock::Count(); }

}  // namespace

ORVIK_INPROC_SERVER(PluginClasses, LiveObjects)
