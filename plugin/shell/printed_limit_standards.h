#pragma once
// The library-wide list of the limit standards last printed: the limits fill
// it when they print, the measurements' report rows read it. Slots count from
// 0; a slot may hold no standard. It starts with one empty slot.
//
//   CLimitData construction:  SizePrintedLimitStandards(1)  (one empty slot)
//   CLimitData::PrintReport:  SetPrintedLimitStandards(its standards, in order)
//   CMeasurement::GetReportLine reads PrintedLimitStandards()

#include <memory>
#include <vector>

#include "host/limits.h"

namespace plugin {

using LimitStandardList = std::vector<std::shared_ptr<host::ILimitStandard>>;

const LimitStandardList& PrintedLimitStandards();
void SetPrintedLimitStandards(LimitStandardList standards);
// Resizes to `slots` empty slots.
void SizePrintedLimitStandards(size_t slots);
// Back to one empty slot, as at start (tests).
void ResetPrintedLimitStandardsForTests();

}  // namespace plugin
