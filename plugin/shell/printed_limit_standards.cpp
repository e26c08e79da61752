#include "plugin/shell/printed_limit_standards.h"

namespace plugin {

namespace {
LimitStandardList& List() {
    static LimitStandardList list(1);
    return list;
}
}  // namespace

const LimitStandardList& PrintedLimitStandards() { return List(); }

void SetPrintedLimitStandards(LimitStandardList standards) { List() = std::move(standards); }

void SizePrintedLimitStandards(size_t slots) { List().assign(slots, nullptr); }

void ResetPrintedLimitStandardsForTests() { List().assign(1, nullptr); }

}  // namespace plugin
