#pragma once
// The host's error service. A raised host error reaches the calling member as
// the C++ exception HostError; Report hands a caught error back to the host,
// which records it (tests read the log) and writes it to stderr.

#include <cstdint>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/values/variant.h"

namespace host {

// Error numbers are the host's 32-bit codes (0x8004A229, ...), held unsigned
// so that they compare with the hexadecimal literals without sign trouble.
using ErrorNumber = uint32_t;

// Numbers the host's own services raise.
namespace errors {
constexpr ErrorNumber FileNotFound = 53;         // a file that is not there
constexpr ErrorNumber FileAccess = 75;           // a file or folder that cannot be read or written
constexpr ErrorNumber PathNotFound = 76;         // a folder on the path is missing
constexpr ErrorNumber XmlLoad = 0x80048ACD;      // an XML document that cannot be parsed
constexpr ErrorNumber XmlInvalid = 0x80048ACE;   // an invalid element or attribute name, a misplaced node
constexpr ErrorNumber RegistryFailed = 0x8004928C;  // a registry key that cannot be opened or written
// The test tree.
constexpr ErrorNumber ElementUnknown = 0x8004A2C0;     // saved data of an unknown form
constexpr ErrorNumber PlugInUnknown = 0x8004A2C1;      // saved data of a plug-in that is not loaded
constexpr ErrorNumber ElementNotCreated = 0x8004A2C2;  // the plug-in made no element for saved data
constexpr ErrorNumber NoElement = 0x8004A2C3;          // no element given to a container
constexpr ErrorNumber NotAChild = 0x8004A2F1;          // an element that the container does not hold
constexpr ErrorNumber AlreadyAChild = 0x8004A2F2;      // an element added twice, or inside itself
// Limits.
constexpr ErrorNumber LimitIndex = 0x8004A301;         // a bound index other than 0 and 1
constexpr ErrorNumber LimitExpression = 0x8004A302;    // a bound expression the host cannot compute
constexpr ErrorNumber LimitData = 0x8004A303;          // saved limits of an unknown form
}  // namespace errors

class HostError : public std::runtime_error {
public:
    HostError(std::string source, ErrorNumber number, std::string location, int32_t severity,
              std::string description = {});

    const std::string& Source() const { return source_; }
    ErrorNumber Number() const { return number_; }
    const std::string& Location() const { return location_; }
    int32_t Severity() const { return severity_; }
    // The message text; empty when the raiser gave none.
    const std::string& Description() const { return description_; }

private:
    std::string source_;
    ErrorNumber number_;
    std::string location_;
    int32_t severity_;
    std::string description_;
};

// One error handed to Report.
struct ReportedError {
    std::string source;
    ErrorNumber number = 0;
    std::string location;        // where it was raised (HostError), else ""
    int32_t severity = 0;
    std::string description;     // the error's message
    std::string reportLocation;  // the location text given to Report
};

class CErrorService {
public:
    // Raises a host error. Called inside a handler with an empty source,
    // number 0 and an empty location, it passes the error in hand on
    // unchanged (rethrows it); without an error in hand it raises HostError 0.
    // Of the five optional values, the first (when given) is the description.
    [[noreturn]] void Raise(const std::string& source, ErrorNumber number, const std::string& location,
                            int32_t severity, const plat::Variant& opt1 = {}, const plat::Variant& opt2 = {},
                            const plat::Variant& opt3 = {}, const plat::Variant& opt4 = {},
                            const plat::Variant& opt5 = {});

    // Hands a caught error to the host: recorded in the log and written to stderr.
    void Report(const std::exception& error, const std::string& location);
    void Report(std::exception_ptr error, const std::string& location);
    // Reports the error being handled (call inside a catch block).
    void ReportCurrent(const std::string& location);

    const std::vector<ReportedError>& Log() const { return log_; }
    void ClearLog() { log_.clear(); }
    // Tests silence the stderr copy of reports; the log is kept either way.
    void SetEcho(bool echo) { echo_ = echo; }

private:
    void Record(ReportedError entry);
    std::vector<ReportedError> log_;
    bool echo_ = true;
};

// The process-wide error service (created on first use).
CErrorService& ErrorService();

}  // namespace host
