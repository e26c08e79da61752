// Arbitrary replies through the probe-report parser. Every item it adds is
// "KEY=VALUE" under its key (or an unkeyed line), keys are never repeated and
// the whole reply is always read.
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>

#include "driver/probe_parser.h"
#include "platform/values/text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string reply(reinterpret_cast<const char*>(data), size);
    drv::KeyedCollection probe;
    if (!drv::ParseProbeResults(reply, &probe)) std::abort();
    std::set<std::string> keys;
    for (int32_t i = 1; i <= probe.Count(); ++i) {
        const std::string& key = probe.KeyAt(i);
        if (key.empty()) continue;
        if (!keys.insert(plat::ToUpper(key)).second) std::abort();
        if (probe.Item(i).AsString().rfind(key + "=", 0) != 0) std::abort();
        if (probe.IndexOf(key) != i) std::abort();
    }
    return 0;
}
