#pragma once
// CLimitData: the limits of one test element, the limit standards its
// measurements are judged against. The standards are the host's objects; this
// class makes them with the default items of the owner's test type, keeps
// them, translates their units again on loading, saves them as
// "ExpectedResult" and hands the judging to the host's check.

#include <cstdint>
#include <memory>
#include <string>

#include "host/test_element.h"
#include "plugin/factory/server_lock.h"
#include "plugin/factory/plugin_factory.h"

namespace plugin {

class CLimitData : public plat::Object, public host::ILimitData, public ITestLimits {
public:
    // Sets the printed limit standards back to one empty entry.
    CLimitData();

    // What HasDialog gives; a test group's limits offer none.
    void SetHasDialog(bool hasDialog) override { hasDialog_ = hasDialog; }
    // The owner is not kept alive by its limits (the owner holds them).
    void SetOwner(const host::TestElementPtr& owner) override { owner_ = owner; }
    // A copy of the source's standards, never the same collection.
    void CopyStandards(const host::ILimitData& source);

    std::string Description() const override { return {}; }
    void SetDescription(const std::string&) override {}
    bool HasDialog() const override { return hasDialog_; }
    std::shared_ptr<host::ILimitStandards> Standards() const override { return standards_; }
    host::TestElementPtr Owner() const override { return owner_.lock(); }
    // Standards copied, the dialog flag kept; the owner is the caller's to set.
    std::shared_ptr<host::ILimitData> Clone() const override;
    // The limit dialog; none when no maker of it is installed.
    std::shared_ptr<host::IDialog> CreateDialog() override;
    // A standard with the default items of the owner's test type, added to the
    // standards unless one with that second text (exact case) is there: then
    // that one is returned and the collection stays as it is.
    std::shared_ptr<host::ILimitStandard> CreateStandard(const std::string& name, const std::string& text) override;
    // The node's standards replace the present ones only when they load whole;
    // a node without standards leaves the limits without any.
    void Load(const host::IXmlElement& node, const std::shared_ptr<host::ILoadContext>& context) override;
    // "ExpectedResult", or nullptr when there are no standards.
    host::XmlElementPtr Save(host::IXmlDocument& document) const override;
    // Makes these standards the printed limit standards (one empty entry when
    // there are none); writes nothing to the report.
    void PrintReport(const std::shared_ptr<host::IReport>& report, const plat::Variant& second) override;
    void UpdateLimits(const host::TestElementPtr& element) override;
    // The host check's answer; a failing check is raised, not taken for a pass.
    plat::ObjectPtr FindFailedStandards(const std::shared_ptr<host::IMeasurement>& measurement,
                                        const std::shared_ptr<host::ILimitStandards>& runStandards) const override;

    // The owner's test ID; 0 without an owner.
    int32_t OwnerTestID() const;

private:
    void AddLimitItem(host::ILimitStandard& standard, const std::string& key, const std::string& unit,
                      const std::string& expression) const;
    void AddDefaultLimitItems(host::ILimitStandard& standard) const;
    void TranslateUnits(host::ILimitStandards& standards) const;

    ServerLock lock_;
    std::shared_ptr<host::ILimitStandards> standards_;
    std::weak_ptr<host::ITestElement> owner_;
    bool hasDialog_ = true;
};

}  // namespace plugin
