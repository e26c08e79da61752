#pragma once
// The measurement keys of each test type, in the order the measurements and
// the default limit items are made.

#include <cstdint>
#include <string>
#include <vector>

#include "driver/probe_report.h"

namespace plugin {

// "PIN<first>_TO_PIN<second>", the key of a pin pair of the resistance test.
using drv::probe_report::PinPairKey;

// The resistance test starts with the pair of pins 1 and 2; a test ID of no
// kind has no keys.
std::vector<std::string> TestTypeKeys(int32_t testId);

}  // namespace plugin
