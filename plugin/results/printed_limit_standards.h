#pragma once
// The limit standards whose columns the measurements' report rows print: one
// list for the whole library. A test's limits fill it just before its result
// prints; a new limits object (and limits without standards) set it back to
// one empty entry, so that rows keep their cells under the header.

#include <memory>
#include <vector>

#include "host/limits.h"

namespace plugin {

using LimitStandardList = std::vector<std::shared_ptr<host::ILimitStandard>>;

// Read from the first entry to the last; an entry may be empty (nullptr).
const LimitStandardList& PrintedLimitStandards();
void SetPrintedLimitStandards(LimitStandardList standards);

}  // namespace plugin
