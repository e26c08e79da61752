#pragma once
// CTestGroup: the plug-in's container element. It wraps the host's base
// container (identity, info, filter, children, limits, result and their
// saving and printing) and adds the fixed plug-in ID, a deep clone, the run of
// its children by the run context's step codes, the group result rolled up
// from the children, and the checks on Load and Save.
//
// Step codes read after each child: 0 next, 1 previous, 2 stop, 3 skip.
// Previous from the first child leaves the group with code 1; 2 stops every
// enclosing group; 0, 3 and any other value go on with the code reset to 0.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "plugin/shell/base_element.h"
#include "plugin/factory/server_lock.h"

namespace plugin {

class CTestGroup : public CBaseElement<host::CTestContainerBase>, public host::ITestContainer {
public:
    // A new group with its limits (no dialog) owned by it; not initialised.
    static std::shared_ptr<CTestGroup> New();
    ~CTestGroup() override;

    std::shared_ptr<host::CTestContainerBase> BaseCopy() const;
    // This group becomes a deep copy of the source: its base's copy and a
    // clone of each child.
    void CopyFrom(const CTestGroup& source);
    // The roll-up: child groups first (depth first), then this group's result.
    void StoreGroupResult(const std::shared_ptr<host::ITestSetup>& setup);

    // ITestElement (the rest is the base container's)
    std::string PlugInID() const override;
    // The plug-in ID given is replaced by "Pelmo2".
    void Initialize(const std::string& plugInId, int32_t testId, int32_t id) override;
    host::TestElementPtr Clone() override;
    // Runs the children when the run context lets the group run and it has
    // any; then rolls up the result and reports the group done.
    void Perform(const std::shared_ptr<host::ITestSetup>& setup) override;
    // "TestElement" (the children's parent becomes the group) or
    // "ResultItem" (into a new group result); any other node fails with
    // 0x8004A2C8.
    void Load(const host::IXmlElement& node, const std::shared_ptr<host::ILoadContext>& context) override;
    // The base's element when it has child nodes, else nullptr.
    host::XmlElementPtr Save(host::IXmlDocument& document, const plat::Variant& option) override;
    // Prints only when the group is selected.
    void PrintReport(const std::shared_ptr<host::IReport>& report, const plat::Variant& second) override;
    void Terminate() override;
    void UpdateReferences() override;

    // ITestContainer
    int32_t Count() const override;
    host::TestElementPtr Item(int32_t index) const override;
    // The added element's parent becomes the group.
    void Add(const host::TestElementPtr& element, const host::TestElementPtr& reference, int32_t position) override;
    host::TestElementPtr FindElement(int32_t id) const override;
    void Remove(const host::TestElementPtr& element) override;
    std::vector<host::TestElementPtr> NewEnum() const override;

protected:
    CTestGroup();

private:
    void NewGroupResult();
    void PerformChildren(const std::shared_ptr<host::ITestSetup>& setup);
    void AttachLimits();

    ServerLock lock_;
};

}  // namespace plugin
