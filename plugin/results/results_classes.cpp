#include "plugin/results/results_classes.h"

#include "plugin/results/f_limit_data.h"
#include "plugin/results/limit_data.h"
#include "plugin/results/limit_dialog_maker.h"
#include "plugin/results/measurement.h"
#include "plugin/results/measurement_coll.h"
#include "plugin/results/result_data.h"
#include "plugin/results/result_test_group.h"
#include "plugin/results/x_detailed_result.h"
#include "plugin/results/x_html_help.h"
#include "plugin/results/x_result_view.h"
#include "plugin/factory/plugin_factory.h"

namespace plugin {

namespace {

plat::ObjectPtr NewLimits() { return std::make_shared<CLimitData>(); }
plat::ObjectPtr NewTestResult() { return std::make_shared<CResultData>(); }
plat::ObjectPtr NewGroupResult() { return std::make_shared<CResultTestGroup>(); }

const bool kRegistered = (RegisterResultsParts(), true);

}  // namespace

const plat::ServedClasses& ResultsClasses() {
    static const plat::ServedClasses classes = {
        {std::string(kProjectName) + ".CResultData", NewTestResult},
        {std::string(kProjectName) + ".CResultTestGroup", NewGroupResult},
        {std::string(kProjectName) + ".CLimitData", NewLimits},
        {std::string(kProjectName) + ".XResultView", [] { return plat::ObjectPtr(std::make_shared<XResultView>()); }},
        {std::string(kProjectName) + ".XDetailedResult",
         [] { return plat::ObjectPtr(std::make_shared<XDetailedResult>()); }},
        {std::string(kProjectName) + ".XHtmlHelp", [] { return plat::ObjectPtr(std::make_shared<XHtmlHelp>()); }},
        {std::string(kProjectName) + ".CMeasurement", [] { return plat::ObjectPtr(std::make_shared<CMeasurement>()); }},
        {std::string(kProjectName) + ".CMeasurementColl",
         [] { return plat::ObjectPtr(std::make_shared<CMeasurementColl>()); }},
    };
    return classes;
}

void RegisterResultsParts() {
    Factory().Install(Part::Limits, NewLimits);
    Factory().Install(Part::TestResult, NewTestResult);
    Factory().Install(Part::GroupResult, NewGroupResult);
    SetLimitDialogMaker([](const std::shared_ptr<host::ILimitData>& limits, int32_t testId) {
        return NewLimitDataDialog(limits, testId);
    });
}

void RegisterResultsClasses() {
    for (const ServedClass& served : ResultsClasses()) plat::RegisterClass(served.progId, served.factory);
}

}  // namespace plugin
