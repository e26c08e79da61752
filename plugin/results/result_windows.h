#pragma once
// The windows that limits and results open for the host: the limit dialog and
// the detailed-result page. They are built elsewhere and installed here; with
// none installed the objects offer no dialog.

#include <cstdint>
#include <memory>

#include "host/test_element.h"
#include "host/ui_interfaces.h"

namespace plugin {

class IResultWindows {
public:
    virtual ~IResultWindows() = default;
    // The limit dialog editing `limits`, with the rows of that test type.
    virtual std::shared_ptr<host::IDialog> LimitDialog(const std::shared_ptr<host::ILimitData>& limits,
                                                       int32_t testId) = 0;
    // The dialog showing the result's comment.
    virtual std::shared_ptr<host::IDialog> DetailedResultDialog(const std::shared_ptr<host::IResultData>& result) = 0;
};

std::shared_ptr<IResultWindows> ResultWindows();
void SetResultWindows(std::shared_ptr<IResultWindows> windows);

}  // namespace plugin
