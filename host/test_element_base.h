#pragma once
// The host's generic test element and container that plug-in elements wrap:
// identity, parent link, info, filter, configuration, limits, result and (for
// the container) the children, with their saving, loading and printing.
//
// Saved form of an element (Save), read back by Load:
//   <TestElement PlugInID="Pelmo2" TestID="100" ID="3" Selected="1">
//     <Info Name=".." Description=".." Type=".." Parameter=".."/>
//     configuration, limits and result elements as they write themselves
//     child "TestElement"s (containers)
//   </TestElement>
// The host reads a saved element with LoadTestElement: the registered plug-in
// of its PlugInID creates the element (CreateTest(TestID)), which is then
// handed the "TestElement" node and, separately, its "ResultItem" node, so
// that the plug-in's element can make its result object first.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/test_element.h"

namespace host {

class CTestElementBase : public plat::Object {
public:
    CTestElementBase();

    void Initialize(const std::string& plugInId, int32_t testId, int32_t id);
    const std::string& PlugInID() const { return plugInId_; }
    int32_t TestID() const { return testId_; }
    int32_t ID() const { return id_; }
    void SetID(int32_t id) { id_ = id; }

    // The parent is not owned (the tree owns its children).
    TestElementPtr Parent() const { return parent_.lock(); }
    void SetParent(const TestElementPtr& parent) { parent_ = parent; }

    std::shared_ptr<ITestInfo> Info() const { return info_; }
    std::shared_ptr<ITestFilter> Filter() const { return filter_; }

    std::shared_ptr<IConfigData> Configuration() const { return configuration_; }
    void SetConfiguration(std::shared_ptr<IConfigData> configuration) { configuration_ = std::move(configuration); }
    std::shared_ptr<ILimitData> Limits() const { return limits_; }
    void SetLimits(std::shared_ptr<ILimitData> limits) { limits_ = std::move(limits); }
    std::shared_ptr<IResultData> Result() const { return result_; }
    void SetResult(std::shared_ptr<IResultData> result) { result_ = std::move(result); }

    // A new base with this element's own data: identity, info, filter, and
    // clones of configuration and limits; no result, no parent, no children.
    virtual std::shared_ptr<CTestElementBase> Copy() const;

    // Reads one node of saved data: a "TestElement" (identity, info,
    // configuration "PlugInData", limits "ExpectedResult"; a container also
    // replaces its children by the saved ones), or a "ResultItem" into the
    // result object (when there is one). Any other node raises
    // errors::ElementUnknown.
    virtual void Load(const IXmlElement& node, const std::shared_ptr<ILoadContext>& context);
    // Writes the element's "TestElement" element with its data.
    virtual XmlElementPtr Save(IXmlDocument& document, const plat::Variant& option);
    virtual void PrintReport(const std::shared_ptr<IReport>& report, const plat::Variant& option);
    // Releases configuration, limits and result (and the children of a container).
    virtual void Terminate();

protected:
    void CopyInto(CTestElementBase& target) const;
    virtual void LoadChildren(const IXmlElement&, const std::shared_ptr<ILoadContext>&) {}

private:
    std::string plugInId_;
    int32_t testId_ = 0;
    int32_t id_ = 0;
    std::weak_ptr<ITestElement> parent_;
    std::shared_ptr<ITestInfo> info_;
    std::shared_ptr<ITestFilter> filter_;
    std::shared_ptr<IConfigData> configuration_;
    std::shared_ptr<ILimitData> limits_;
    std::shared_ptr<IResultData> result_;
};

// Also the host's ITestContainer, so that a plain container (a plug-in's
// template root) can be handed to the host as it is.
class CTestContainerBase : public CTestElementBase, public ITestContainer {
public:
    int32_t Count() const override { return static_cast<int32_t>(children_.size()); }
    // 1-based; nullptr outside 1 .. Count().
    TestElementPtr Item(int32_t index) const override;
    // Position code 1 appends; 2 inserts before the reference element, 3
    // after it (appending when the reference is not a child).
    void Add(const TestElementPtr& element, const TestElementPtr& reference, int32_t position) override;
    // Depth first among the children and their descendants; nullptr when none.
    TestElementPtr FindElement(int32_t id) const override;
    std::vector<TestElementPtr> NewEnum() const override { return children_; }
    void Remove(const TestElementPtr& element) override;
    // Tells every child to update its references.
    void UpdateReferences();

    std::shared_ptr<CTestElementBase> Copy() const override;
    XmlElementPtr Save(IXmlDocument& document, const plat::Variant& option) override;
    void PrintReport(const std::shared_ptr<IReport>& report, const plat::Variant& option) override;
    void Terminate() override;

protected:
    void LoadChildren(const IXmlElement& node, const std::shared_ptr<ILoadContext>& context) override;

private:
    std::vector<TestElementPtr> children_;
};

// The plug-ins the host has loaded, by their ID: they create saved elements again.
void RegisterPlugIn(const std::shared_ptr<IPlugIn>& plugIn);
void UnregisterPlugIn(const std::string& plugInId);

// An element made from its saved "TestElement" node (see above). Raises
// errors::PlugInUnknown when no plug-in of the saved PlugInID is registered,
// errors::ElementNotCreated when the plug-in gives no element.
TestElementPtr LoadTestElement(const IXmlElement& node, const std::shared_ptr<ILoadContext>& context);

}  // namespace host
