#include "plugin/results/printed_limit_standards.h"

namespace plugin {

namespace {
LimitStandardList& List() {
    static LimitStandardList list(1);
    return list;
}
}  // namespace

const LimitStandardList& PrintedLimitStandards() { return List(); }

void SetPrintedLimitStandards(LimitStandardList standards) { List() = std::move(standards); }

}  // namespace plugin
