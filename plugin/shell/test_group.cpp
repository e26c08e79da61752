#include "plugin/shell/test_group.h"

#include "host/error_service.h"
#include "platform/values/abort_error.h"
#include "platform/values/pass_over.h"
#include "plugin/shell/host_errors.h"
#include "plugin/factory/plugin_factory.h"

namespace plugin {

namespace {

constexpr const char* kLocation = "CTestGroup";

// The host's errors of the test tree that a group hands on to its caller.
constexpr host::ErrorNumber kSaveFailed = 0x8004A2CD;

}  // namespace

CTestGroup::CTestGroup() : CBaseElement(std::make_shared<host::CTestContainerBase>()) {}

CTestGroup::~CTestGroup() = default;

std::shared_ptr<CTestGroup> CTestGroup::New() {
    std::shared_ptr<CTestGroup> group(new CTestGroup());
    plat::PassOver([&] { group->base_->SetLimits(Factory().NewLimits()); });
    group->AttachLimits();
    return group;
}

void CTestGroup::AttachLimits() {
    if (!base_) return;
    plat::PassOver([&] {
        if (auto limits = std::dynamic_pointer_cast<ITestLimits>(base_->Limits())) {
            limits->SetOwner(Self());
            limits->SetHasDialog(false);
        }
    });
}

// ---- identity --------------------------------------------------------------------------

std::string CTestGroup::PlugInID() const { return kPlugInId; }

void CTestGroup::Initialize(const std::string&, int32_t testId, int32_t id) {
    if (base_) base_->Initialize(kPlugInId, testId, id);
}

// ---- copies ----------------------------------------------------------------------------

std::shared_ptr<host::CTestContainerBase> CTestGroup::BaseCopy() const {
    return base_ ? std::dynamic_pointer_cast<host::CTestContainerBase>(base_->Copy()) : nullptr;
}

void CTestGroup::CopyFrom(const CTestGroup& source) {
    if (base_) plat::PassOver([&] { base_->Terminate(); });
    base_ = source.BaseCopy();
    if (!base_) base_ = std::make_shared<host::CTestContainerBase>();
    auto self = Self();
    for (const auto& child : source.NewEnum()) {
        auto clone = child->Clone();
        if (!clone) continue;
        base_->Add(clone, nullptr, 1);
        clone->SetParent(self);
    }
    AttachLimits();
}

host::TestElementPtr CTestGroup::Clone() {
    try {
        auto copy = New();
        copy->CopyFrom(*this);
        return copy;
    } catch (...) {
        plat::RethrowAbort();
        host::ErrorService().ReportCurrent(kLocation);
        return nullptr;
    }
}

// ---- run ---------------------------------------------------------------------------------

void CTestGroup::Perform(const std::shared_ptr<host::ITestSetup>& setup) {
    auto self = Self();  // a child's run may drop every other reference to the group
    try {
        if (!setup || !base_) return;
        const bool mayRun = setup->MayRun(self);
        const int32_t count = base_->Count();
        if (!mayRun || count <= 0) return;
        if (!base_->Result()) NewGroupResult();
        PerformChildren(setup);
        StoreGroupResult(setup);
        setup->ElementDone(self);
    } catch (...) {
        plat::RethrowAbort();  // a stalled window or a failing harness ends the run
        host::ErrorService().ReportCurrent(kLocation);
    }
}

void CTestGroup::PerformChildren(const std::shared_ptr<host::ITestSetup>& setup) {
    int32_t index = 1;
    for (;;) {
        // The child is held across its own run: it may be removed meanwhile.
        host::TestElementPtr child;
        plat::PassOver([&] { child = base_ ? base_->Item(index) : nullptr; });
        if (!child) break;
        plat::PassOver([&] { child->Perform(setup); });
        int32_t code = 0;
        plat::PassOver([&] { code = setup->StepCode(); });
        if (code == 1) {
            if (--index == 0) plat::PassOver([&] { setup->SetStepCode(1); });
        } else if (code == 2) {
            index = 0;
        } else {
            ++index;
            plat::PassOver([&] { setup->SetStepCode(0); });
        }
        int32_t count = 0;
        plat::PassOver([&] { count = base_ ? base_->Count() : 0; });
        if (index == 0 || index > count) break;
    }
}

void CTestGroup::StoreGroupResult(const std::shared_ptr<host::ITestSetup>& setup) {
    for (const auto& child : NewEnum())
        if (auto group = std::dynamic_pointer_cast<CTestGroup>(child))
            plat::PassOver([&] { group->StoreGroupResult(setup); });
    plat::PassOver([&] {
        auto result = std::dynamic_pointer_cast<IGroupResult>(Result());
        if (result) result->UpdateStatus(Self(), setup ? setup->LimitStandards() : nullptr);
    });
}

void CTestGroup::NewGroupResult() {
    if (base_) base_->SetResult(Factory().NewGroupResult());
}

// ---- saved data and report -------------------------------------------------------------------

void CTestGroup::Load(const host::IXmlElement& node, const std::shared_ptr<host::ILoadContext>& context) {
    try {
        const std::string name = node.Name();
        if (name == "TestElement") {
            if (!base_) return;
            base_->Load(node, context);
            auto self = Self();
            for (const auto& child : base_->NewEnum()) plat::PassOver([&] { child->SetParent(self); });
        } else if (name == "ResultItem") {
            NewGroupResult();
            if (base_) base_->Load(node, context);
        } else {
            RaisePlugInError(errors::UnknownElement, kLocation, 4);
        }
    } catch (...) {
        PassOnOrReport({host::errors::ElementUnknown, host::errors::PlugInUnknown, host::errors::ElementNotCreated,
                        errors::UnknownElement},
                       kLocation, false);
    }
}

host::XmlElementPtr CTestGroup::Save(host::IXmlDocument& document, const plat::Variant& option) {
    try {
        if (!base_) return nullptr;
        auto element = base_->Save(document, option);
        return element && element->HasChildNodes() ? element : nullptr;
    } catch (...) {
        PassOnOrReport({kSaveFailed}, kLocation, false);
        return nullptr;
    }
}

void CTestGroup::PrintReport(const std::shared_ptr<host::IReport>& report, const plat::Variant& second) {
    if (!report || !base_) return;
    bool selected = false;
    plat::PassOver([&] { selected = base_->Filter()->Selected(); });
    if (selected) plat::PassOver([&] { base_->PrintReport(report, second); });
}

void CTestGroup::Terminate() {
    if (!base_) return;
    plat::PassOver([&] { base_->Terminate(); });
    base_.reset();
}

void CTestGroup::UpdateReferences() {
    if (!base_) return;
    UpdateLimitReferences();
    plat::PassOver([&] { base_->UpdateReferences(); });
}

// ---- children ----------------------------------------------------------------------------------

int32_t CTestGroup::Count() const { return base_ ? base_->Count() : 0; }

host::TestElementPtr CTestGroup::Item(int32_t index) const { return base_ ? base_->Item(index) : nullptr; }

void CTestGroup::Add(const host::TestElementPtr& element, const host::TestElementPtr& reference, int32_t position) {
    try {
        if (!base_) return;
        base_->Add(element, reference, position);
        element->SetParent(Self());
    } catch (...) {
        PassOnOrReport({host::errors::NoElement, host::errors::NotAChild, host::errors::AlreadyAChild}, kLocation,
                       false);
    }
}

host::TestElementPtr CTestGroup::FindElement(int32_t id) const { return base_ ? base_->FindElement(id) : nullptr; }

void CTestGroup::Remove(const host::TestElementPtr& element) {
    try {
        if (element && base_) base_->Remove(element);
    } catch (...) {
        PassOnOrReport({host::errors::NotAChild}, kLocation, false);
    }
}

std::vector<host::TestElementPtr> CTestGroup::NewEnum() const {
    return base_ ? base_->NewEnum() : std::vector<host::TestElementPtr>{};
}

}  // namespace plugin
