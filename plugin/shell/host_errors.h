#pragma once
// The host errors the plug-in raises (source "Pelmo2") and the two ways its
// host-facing members hand on a failure caught inside them.

#include <initializer_list>
#include <string>

#include "host/error_service.h"

namespace plugin {

namespace errors {
constexpr host::ErrorNumber NotInitialised = 0x8004A229;  // severity 4
constexpr host::ErrorNumber TemplateFileNotFound = 0x8004A22A;  // severity 3
constexpr host::ErrorNumber Template = 0x8004A22C;  // severity 3
constexpr host::ErrorNumber UnknownTestId = 0x8004A233;  // severity 1
constexpr host::ErrorNumber TemplateFile = 0x8004A28F;  // severity 3
constexpr host::ErrorNumber UnknownElement = 0x8004A2C8;  // severity 4
}  // namespace errors

// The plug-in's ID towards the host, also the source of its errors.
inline constexpr const char* kPlugInId = "Pelmo2";
inline constexpr const char* kErrorSource = kPlugInId;

// Raises a host error of the plug-in through the host's error service.
[[noreturn]] void RaisePlugInError(host::ErrorNumber number, const std::string& location, int32_t severity,
                                   const std::string& description = {});

// Call inside a catch block. A host error of one of the listed numbers leaves
// the member: unchanged (`unchanged` true), or raised again as the plug-in's
// own error of that number, with its text and severity 1, at `location`. Any
// other failure is reported to the host with `location`, and the member goes
// on (usually to end). An AbortError goes on up, unreported.
void PassOnOrReport(std::initializer_list<host::ErrorNumber> passed, const std::string& location, bool unchanged);

}  // namespace plugin
