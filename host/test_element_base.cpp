#include "host/test_element_base.h"

#include <algorithm>
#include <charconv>
#include <exception>
#include <map>

#include "host/error_service.h"
#include "platform/values/abort_error.h"

namespace host {

namespace {

class TestInfo : public plat::Object, public ITestInfo {
public:
    std::string Name() const override { return name_; }
    void SetName(const std::string& name) override { name_ = name; }
    std::string Description() const override { return description_; }
    void SetDescription(const std::string& description) override { description_ = description; }
    std::string Type() const override { return type_; }
    std::string Parameter() const override { return parameter_; }
    void SetTypeAndParameter(const std::string& type, const std::string& parameter) override {
        type_ = type;
        parameter_ = parameter;
    }
private:
    std::string name_, description_, type_, parameter_;
};

class TestFilter : public plat::Object, public ITestFilter {
public:
    bool Selected() const override { return selected_; }
    void SetSelected(bool selected) override { selected_ = selected; }
private:
    bool selected_ = true;
};

[[noreturn]] void Fail(ErrorNumber number, const std::string& what) {
    throw HostError("Orvik", number, "CTestElementBase", 1, what);
}

int32_t NumberAttribute(const IXmlElement& node, const char* name) {
    std::string text = node.GetAttribute(name);
    int32_t value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        Fail(errors::ElementUnknown, "The saved element has no valid \"" + std::string(name) + "\" (\"" + text + "\")");
    return value;
}

std::map<std::string, std::shared_ptr<IPlugIn>>& PlugIns() {
    static std::map<std::string, std::shared_ptr<IPlugIn>> plugIns;
    return plugIns;
}

}  // namespace

// ---- Element ---------------------------------------------------------------

CTestElementBase::CTestElementBase() : info_(std::make_shared<TestInfo>()), filter_(std::make_shared<TestFilter>()) {}

void CTestElementBase::Initialize(const std::string& plugInId, int32_t testId, int32_t id) {
    plugInId_ = plugInId;
    testId_ = testId;
    id_ = id;
}

void CTestElementBase::CopyInto(CTestElementBase& target) const {
    target.plugInId_ = plugInId_;
    target.testId_ = testId_;
    target.id_ = id_;
    target.info_->SetName(info_->Name());
    target.info_->SetDescription(info_->Description());
    target.info_->SetTypeAndParameter(info_->Type(), info_->Parameter());
    target.filter_->SetSelected(filter_->Selected());
    target.configuration_ = configuration_ ? configuration_->Clone() : nullptr;
    target.limits_ = limits_ ? limits_->Clone() : nullptr;
}

std::shared_ptr<CTestElementBase> CTestElementBase::Copy() const {
    auto copy = std::make_shared<CTestElementBase>();
    CopyInto(*copy);
    return copy;
}

void CTestElementBase::Load(const IXmlElement& node, const std::shared_ptr<ILoadContext>& context) {
    const std::string name = node.Name();
    if (name == "ResultItem") {
        if (result_) result_->Load(node, context);
        return;
    }
    if (name != "TestElement") Fail(errors::ElementUnknown, "Unknown element \"" + name + "\" in saved data");

    plugInId_ = node.GetAttribute("PlugInID");
    testId_ = NumberAttribute(node, "TestID");
    id_ = NumberAttribute(node, "ID");
    filter_->SetSelected(node.GetAttribute("Selected") != "0");
    auto children = node.ChildNodes();
    for (int32_t i = 0; i < children->Count(); ++i) {
        auto child = children->ElementAt(i);
        if (!child) continue;
        const std::string childName = child->Name();
        if (childName == "Info") {
            info_->SetName(child->GetAttribute("Name"));
            info_->SetDescription(child->GetAttribute("Description"));
            info_->SetTypeAndParameter(child->GetAttribute("Type"), child->GetAttribute("Parameter"));
        } else if (childName == "PlugInData") {
            if (configuration_) configuration_->Load(*child, plat::Variant());
        } else if (childName == "ExpectedResult") {
            if (limits_) limits_->Load(*child, context);
        }
        // "ResultItem" comes as a call of its own (LoadTestElement); child
        // elements are a container's.
    }
    LoadChildren(node, context);
}

XmlElementPtr CTestElementBase::Save(IXmlDocument& document, const plat::Variant&) {
    auto element = document.CreateElement("TestElement");
    element->SetAttribute("PlugInID", plugInId_);
    element->SetAttribute("TestID", std::to_string(testId_));
    element->SetAttribute("ID", std::to_string(id_));
    element->SetAttribute("Selected", filter_->Selected() ? "1" : "0");
    auto info = document.CreateElement("Info");
    info->SetAttribute("Name", info_->Name());
    info->SetAttribute("Description", info_->Description());
    info->SetAttribute("Type", info_->Type());
    info->SetAttribute("Parameter", info_->Parameter());
    element->AppendChild(info);
    if (configuration_)
        if (auto part = configuration_->Save(document)) element->AppendChild(part);
    if (limits_)
        if (auto part = limits_->Save(document)) element->AppendChild(part);
    if (result_)
        if (auto part = result_->Save(document)) element->AppendChild(part);
    return element;
}

void CTestElementBase::PrintReport(const std::shared_ptr<IReport>& report, const plat::Variant& option) {
    if (!report) return;
    if (configuration_) configuration_->PrintReport(report);
    if (limits_) limits_->PrintReport(report, option);
    if (result_) result_->PrintReport(report, option);
}

void CTestElementBase::Terminate() {
    configuration_.reset();
    limits_.reset();
    result_.reset();
    parent_.reset();
}

// ---- Container -------------------------------------------------------------

TestElementPtr CTestContainerBase::Item(int32_t index) const {
    if (index < 1 || index > Count()) return nullptr;
    return children_[static_cast<size_t>(index - 1)];
}

void CTestContainerBase::Add(const TestElementPtr& element, const TestElementPtr& reference, int32_t position) {
    if (!element) Fail(errors::NoElement, "No element to add");
    if (std::find(children_.begin(), children_.end(), element) != children_.end())
        Fail(errors::AlreadyAChild, "The element is already in the container");
    auto at = children_.end();
    if (reference && (position == 2 || position == 3)) {
        auto ref = std::find(children_.begin(), children_.end(), reference);
        if (ref != children_.end()) at = position == 2 ? ref : ref + 1;
    }
    children_.insert(at, element);
}

TestElementPtr CTestContainerBase::FindElement(int32_t id) const {
    for (const auto& child : children_) {
        if (child->ID() == id) return child;
        if (auto container = std::dynamic_pointer_cast<ITestContainer>(child))
            if (auto found = container->FindElement(id)) return found;
    }
    return nullptr;
}

void CTestContainerBase::Remove(const TestElementPtr& element) {
    auto it = std::find(children_.begin(), children_.end(), element);
    if (!element || it == children_.end()) Fail(errors::NotAChild, "The element is not in the container");
    children_.erase(it);
}

void CTestContainerBase::UpdateReferences() {
    for (const auto& child : children_) child->UpdateReferences();
}

std::shared_ptr<CTestElementBase> CTestContainerBase::Copy() const {
    auto copy = std::make_shared<CTestContainerBase>();
    CopyInto(*copy);
    return copy;
}

XmlElementPtr CTestContainerBase::Save(IXmlDocument& document, const plat::Variant& option) {
    auto element = CTestElementBase::Save(document, option);
    for (const auto& child : children_)
        if (auto saved = child->Save(document, option)) element->AppendChild(saved);
    return element;
}

void CTestContainerBase::PrintReport(const std::shared_ptr<IReport>& report, const plat::Variant& option) {
    if (!report) return;
    CTestElementBase::PrintReport(report, option);
    for (const auto& child : children_)
        if (!child->Filter() || child->Filter()->Selected()) child->PrintReport(report, option);
}

void CTestContainerBase::Terminate() {
    for (const auto& child : children_) child->Terminate();
    children_.clear();
    CTestElementBase::Terminate();
}

void CTestContainerBase::LoadChildren(const IXmlElement& node, const std::shared_ptr<ILoadContext>& context) {
    // The saved children replace those the element was made with (a template copy brings its own).
    // A child that cannot be loaded is left out, not the others with it: the
    // first failure goes on to the caller once the rest are in, later ones
    // are reported.
    std::vector<TestElementPtr> loaded;
    std::exception_ptr failure;
    auto children = node.ChildNodes();
    for (int32_t i = 0; i < children->Count(); ++i) {
        auto child = children->ElementAt(i);
        if (!child || child->Name() != "TestElement") continue;
        try {
            loaded.push_back(LoadTestElement(*child, context));
        } catch (...) {
            plat::RethrowAbort();
            if (failure) ErrorService().ReportCurrent("CTestContainerBase.LoadChildren");
            else failure = std::current_exception();
        }
    }
    for (const auto& old : children_) old->Terminate();
    children_ = std::move(loaded);
    if (failure) std::rethrow_exception(failure);
}

// ---- Plug-ins --------------------------------------------------------------

void RegisterPlugIn(const std::shared_ptr<IPlugIn>& plugIn) {
    if (plugIn) PlugIns()[plugIn->ID()] = plugIn;
}

void UnregisterPlugIn(const std::string& plugInId) { PlugIns().erase(plugInId); }

TestElementPtr LoadTestElement(const IXmlElement& node, const std::shared_ptr<ILoadContext>& context) {
    if (node.Name() != "TestElement") Fail(errors::ElementUnknown, "Unknown element \"" + node.Name() + "\" in saved data");
    const std::string plugInId = node.GetAttribute("PlugInID");
    auto it = PlugIns().find(plugInId);
    if (it == PlugIns().end()) Fail(errors::PlugInUnknown, "The plug-in \"" + plugInId + "\" of saved data is not loaded");
    const int32_t testId = NumberAttribute(node, "TestID");
    auto element = it->second->CreateTest(testId);
    if (!element)
        Fail(errors::ElementNotCreated, "The plug-in \"" + plugInId + "\" made no element of test ID " + std::to_string(testId));
    element->Load(node, context);
    auto children = node.ChildNodes();
    for (int32_t i = 0; i < children->Count(); ++i)
        if (auto child = children->ElementAt(i); child && child->Name() == "ResultItem") element->Load(*child, context);
    return element;
}

}  // namespace host
