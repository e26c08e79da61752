#pragma once
// Turns the simulator's "[PROBE]" report into "KEY=VALUE" items of a keyed
// collection (LED and photodiode readings, pin-to-pin resistances in kilo-ohms).

#include <string_view>

#include "driver/vti_interface.h"

namespace drv {

// Only adds; the first item of a key wins. False without a collection or when
// the cancel flag stopped it.
bool ParseProbeResults(std::string_view sReply, KeyedCollection* probe);

}  // namespace drv
