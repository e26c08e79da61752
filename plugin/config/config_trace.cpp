#include "plugin/config/config_trace.h"

#include <utility>

namespace plugin {

namespace {
ConfigTraceSink& Sink() {
    static ConfigTraceSink sink;
    return sink;
}
}  // namespace

ConfigTraceSink SetConfigTraceSink(ConfigTraceSink sink) { return std::exchange(Sink(), std::move(sink)); }

void ConfigTrace(const std::vector<plat::Variant>& values) noexcept {
    try {
        if (Sink()) Sink()(values);
    } catch (...) {
    }
}

}  // namespace plugin
