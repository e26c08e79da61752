#pragma once
// Where the configuration sends its debug lines (the plug-in's debug trace).
// Without a sink installed tracing does nothing, as without a trace viewer.

#include <functional>
#include <vector>

#include "platform/values/variant.h"

namespace plugin {

using ConfigTraceSink = std::function<void(const std::vector<plat::Variant>& values)>;

// Installs the sink (an empty one removes it) and returns the one it replaces.
ConfigTraceSink SetConfigTraceSink(ConfigTraceSink sink);
// Sends one line; a failing sink is passed over.
void ConfigTrace(const std::vector<plat::Variant>& values);

}  // namespace plugin
