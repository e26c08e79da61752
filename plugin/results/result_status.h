#pragma once
// The status of a result, and its reading from saved data.

#include <cstdint>

#include "host/xml.h"

namespace plugin {

enum EResultStatus : int32_t { ersNotEvaluated = 0, ersPassed = 1, ersFailed = 2, ersNotApplicable = 3 };

// The status a saved "Status" element holds; anything but 0..3 (also a text
// that is no number) reads as not evaluated.
int32_t ReadResultStatus(const host::IXmlElement& element);

}  // namespace plugin
