#include "plugin/config/config_trace.h"

#include <utility>

#include "platform/values/abort_error.h"

namespace plugin {

namespace {
ConfigTraceSink& Sink() {
    static ConfigTraceSink sink;
    return sink;
}
}  // namespace

ConfigTraceSink SetConfigTraceSink(ConfigTraceSink sink) { return std::exchange(Sink(), std::move(sink)); }

void ConfigTrace(const std::vector<plat::Variant>& values) {
    try {
        if (Sink()) Sink()(values);
    } catch (...) {
        plat::RethrowAbort();
    }
}

}  // namespace plugin
