#include "plugin/shell/host_errors.h"

#include <algorithm>

#include "platform/values/abort_error.h"

namespace plugin {

void RaisePlugInError(host::ErrorNumber number, const std::string& location, int32_t severity,
                      const std::string& description) {
    host::ErrorService().Raise(kErrorSource, number, location, severity,
                               description.empty() ? plat::Variant() : plat::Variant(description));
}

void PassOnOrReport(std::initializer_list<host::ErrorNumber> passed, const std::string& location, bool unchanged) {
    try {
        throw;
    } catch (const host::HostError& error) {
        if (std::find(passed.begin(), passed.end(), error.Number()) != passed.end()) {
            if (unchanged) host::ErrorService().Raise({}, 0, {}, 1);
            RaisePlugInError(error.Number(), location, 1, error.Description());
        }
        host::ErrorService().ReportCurrent(location);
    } catch (...) {
        plat::RethrowAbort();  // a stall or a failing harness is no failure of the member
        host::ErrorService().ReportCurrent(location);
    }
}

}  // namespace plugin
