#pragma once
// MUtilities: what several parts of the plug-in share: the library's project
// name (its ProgID prefix), adding a named control to a window once, adding
// the driver's control, two checks against a limit standard, and recording
// the test instrument in the run's instrument list.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "host/limits.h"
#include "host/test_element.h"
#include "platform/ui/control.h"

namespace plugin {

class CMtiData2;

// Whether ValText (the make library's number reading) finds a number at the
// start of the text, so that "0" and "OPEN" (which both read as 0) differ.
bool ValTextFindsNumber(std::string_view text);

// "OrvikPelmo2": the prefix of the ProgIDs that the library serves, cached on
// the first call.
const std::string& ProjectName();

// The window's control of that name; otherwise a new control of ProgID
// ProjectName() + "." + className added under that name. A ProgID that cannot
// be created reaches the caller (plat::ComError).
std::shared_ptr<plat::ui::ObjectControl> GetOrAddControl(plat::ui::ControlHost& window, std::string_view className,
                                                         std::string_view controlName);
// The window's "VTIControl"; otherwise the driver's control
// (ProjectName() + "VTI.XVTIControl") added under that name.
std::shared_ptr<plat::ui::ObjectControl> GetOrAddVTIControl(plat::ui::ControlHost& window);

// True when the standard holds an item of exactly that name.
bool LimitItemExists(std::string_view name, const std::shared_ptr<host::ILimitStandard>& standard);

// True when the value lies within every enabled bound of each item of that
// name (a value equal to a bound passes). "SpO2" and "BPM" tolerance items
// work their bounds out from the reference; any other item (those two names
// included, when not a tolerance item) is judged by its own bounds. No
// standard: true; an empty name: false; no item of the name: true. A bound
// that cannot be worked out gives false.
bool WithinLimits(float value, std::string_view name, const std::shared_ptr<host::ILimitStandard>& standard,
                  int32_t reference);

// Records the instrument in the list and returns the record's key. An
// instrument whose trimmed serial number is empty is not recorded (0, "none").
// A record of plug-in "Pelmo2" with the same type and serial number gives its
// key; otherwise a new record is added, keyed one above the highest key of
// the whole list.
int32_t StoreMTIRecord(const std::shared_ptr<host::IMtiRecordList>& list, const std::shared_ptr<CMtiData2>& identity);

}  // namespace plugin
