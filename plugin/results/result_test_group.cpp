#include "plugin/results/result_test_group.h"

#include "host/xml.h"
#include "platform/values/abort_error.h"
#include "platform/values/pass_over.h"
#include "plugin/results/load_context_entry.h"
#include "plugin/results/result_status.h"

namespace plugin {

namespace {
constexpr const char* kLocation = "CResultTestGroup";
}  // namespace

void CResultTestGroup::UpdateStatus(const host::TestElementPtr& group,
                                    const std::shared_ptr<host::ILimitStandards>&) {
    if (!group) return;
    plat::PassOver([&] {
        if (auto children = std::dynamic_pointer_cast<host::ITestContainer>(group)) RollUpChildren(*children);
    });
}

void CResultTestGroup::RollUpChildren(const host::ITestContainer& children) {
    bool selectedFailed = false, allNotApplicable = true, somePassed = false, someResult = false;
    for (int32_t i = 1; i <= children.Count(); ++i) {
        plat::PassOver([&] {
            auto child = children.Item(i);
            auto result = child ? child->Result() : nullptr;
            if (!result) return;
            const int32_t status = result->Status();
            auto filter = child->Filter();
            const bool selected = !filter || filter->Selected();
            someResult = true;
            if (status != ersNotApplicable) allNotApplicable = false;
            if (status == ersPassed) somePassed = true;
            if (status == ersFailed && selected) selectedFailed = true;
        });
    }
    if (selectedFailed)
        status_ = ersFailed;
    else if (someResult && allNotApplicable)
        status_ = ersNotApplicable;
    else if (somePassed)
        status_ = ersPassed;
    else
        status_ = ersNotEvaluated;
}

void CResultTestGroup::Load(const host::IXmlElement& element, const std::shared_ptr<host::ILoadContext>& context) {
    try {
        if (element.Name() != "ResultItem")
            host::ErrorService().Raise("Pelmo2", kGroupResultLoadFailed, kLocation, 4,
                                       "A group result cannot be read from \"" + element.Name() + "\"");
        LoadContextEntry entry(context);
        auto children = element.ChildNodes();
        for (int32_t i = 0; i < children->Count(); ++i) {
            auto child = children->ElementAt(i);
            if (child && child->Name() == "Status") status_ = ReadResultStatus(*child);
        }
    } catch (const host::HostError& e) {
        if (e.Number() == kGroupResultLoadFailed) host::ErrorService().Raise("Pelmo2", e.Number(), e.Source(), 1, e.Description());
        host::ErrorService().ReportCurrent(kLocation);
    } catch (...) {
        plat::RethrowAbort();
        host::ErrorService().ReportCurrent(kLocation);
    }
}

host::XmlElementPtr CResultTestGroup::Save(host::IXmlDocument& document) const {
    try {
        auto element = document.CreateElement("ResultItem");
        if (!element)
            host::ErrorService().Raise("Pelmo2", kGroupResultSaveFailed, kLocation, 3, "No element for a group result");
        if (auto status = host::XmlFactory().CreateStatusElement(document, status_)) element->AppendChild(status);
        return element;
    } catch (const host::HostError& e) {
        if (e.Number() == kGroupResultSaveFailed) host::ErrorService().Raise("Pelmo2", e.Number(), e.Source(), 1, e.Description());
        host::ErrorService().ReportCurrent(kLocation);
    } catch (...) {
        plat::RethrowAbort();
        host::ErrorService().ReportCurrent(kLocation);
    }
    return nullptr;
}

}  // namespace plugin
