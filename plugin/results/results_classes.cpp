#include "plugin/results/results_classes.h"

#include "plugin/results/limit_data.h"
#include "plugin/results/result_data.h"
#include "plugin/results/result_test_group.h"
#include "plugin/shell/plugin_factory.h"

namespace plugin {

namespace {

plat::ObjectPtr NewLimits() { return std::make_shared<CLimitData>(); }
plat::ObjectPtr NewTestResult() { return std::make_shared<CResultData>(); }
plat::ObjectPtr NewGroupResult() { return std::make_shared<CResultTestGroup>(); }

// The elements make their limits and results through the plug-in factory.
const PartRegistrar kLimitsPart(Part::Limits, NewLimits);
const PartRegistrar kTestResultPart(Part::TestResult, NewTestResult);
const PartRegistrar kGroupResultPart(Part::GroupResult, NewGroupResult);

}  // namespace

const plat::ServedClasses& ResultsClasses() {
    static const plat::ServedClasses classes = {
        {std::string(kProjectName) + ".CResultData", NewTestResult},
        {std::string(kProjectName) + ".CResultTestGroup", NewGroupResult},
        {std::string(kProjectName) + ".CLimitData", NewLimits},
    };
    return classes;
}

void RegisterResultsClasses() {
    for (const ServedClass& served : ResultsClasses()) plat::RegisterClass(served.progId, served.factory);
}

}  // namespace plugin
