#include "plugin/shell/test_data.h"

#include "host/translate_text.h"
#include "platform/values/pass_over.h"
#include "plugin/shell/f_test_guide.h"
#include "plugin/shell/host_errors.h"
#include "plugin/shell/identity_pane_flag.h"
#include "plugin/shell/pelmo2_utils.h"
#include "plugin/factory/plugin_factory.h"
#include "plugin/shell/test_kind.h"

namespace plugin {

CTestData::CTestData() : CBaseElement(std::make_shared<host::CTestElementBase>()) { SetIdentityPaneShown(false); }

CTestData::~CTestData() {
    if (auto guide = std::move(guide_)) plat::PassOver([&] { guide->Unload(); });
}

std::string CTestData::KindName(int32_t testId) {
    const TestKind* kind = FindTestKind(testId);
    return kind ? std::string(kind->name) : std::string();
}

// ---- identity ---------------------------------------------------------------------------

std::string CTestData::PlugInID() const { return base_ ? base_->PlugInID() : std::string(); }

// ---- making ----------------------------------------------------------------------

void CTestData::AttachParts() {
    if (!base_) return;
    auto self = Self();
    plat::PassOver([&] {
        if (auto limits = std::dynamic_pointer_cast<ITestLimits>(base_->Limits())) limits->SetOwner(self);
    });
    if (HasConfiguration(base_->TestID())) {
        spo2Config_ = base_->Configuration();
        plat::PassOver([&] {
            if (auto config = std::dynamic_pointer_cast<ITestConfiguration>(spo2Config_)) config->SetParentTest(self);
        });
    } else {
        spo2Config_.reset();
    }
}

void CTestData::Initialize(const std::string& plugInId, int32_t testId, int32_t id) {
    if (!base_) return;
    base_->Initialize(plugInId, testId, id);
    const std::string kind = KindName(base_->TestID());
    if (!kind.empty()) plat::PassOver([&] { base_->Info()->SetName(host::TranslateText(kLanguageSection, kind)); });
    plat::PassOver([&] { base_->SetLimits(Factory().NewLimits()); });
    plat::PassOver([&] {
        if (auto limits = std::dynamic_pointer_cast<ITestLimits>(base_->Limits())) limits->SetOwner(Self());
    });
}

void CTestData::Create(int32_t testId, const std::shared_ptr<CPluginSetup>& settings) {
    Initialize(kPlugInId, testId, testId);
    if (!base_) return;
    const bool configured = HasConfiguration(testId);
    plat::PassOver([&] { base_->SetConfiguration(configured ? Factory().NewConfiguration() : nullptr); });
    plat::PassOver([&] { base_->SetLimits(Factory().NewLimits()); });
    AttachParts();
    if (configured)
        plat::PassOver([&] {
            if (auto config = std::dynamic_pointer_cast<ITestConfiguration>(spo2Config_))
                config->SetPluginSetup(settings);
        });
}

std::shared_ptr<host::CTestElementBase> CTestData::BaseCopy() const { return base_ ? base_->Copy() : nullptr; }

void CTestData::CopyFrom(const CTestData& source) {
    if (base_) plat::PassOver([&] { base_->Terminate(); });
    base_.reset();
    plat::PassOver([&] { base_ = source.BaseCopy(); });
    if (!base_) base_ = std::make_shared<host::CTestElementBase>();
    AttachParts();
}

host::TestElementPtr CTestData::Clone() {
    auto copy = std::make_shared<CTestData>();
    copy->CopyFrom(*this);
    return copy;
}

// ---- run, data, report -------------------------------------------------------------

void CTestData::Load(const host::IXmlElement& node, const std::shared_ptr<host::ILoadContext>& context) {
    if (!base_) return;
    if (node.Name() == "ResultItem") {
        plat::PassOver([&] { base_->SetResult(Factory().NewTestResult()); });
        plat::PassOver([&] {
            if (auto result = std::dynamic_pointer_cast<ITestResult>(base_->Result())) result->InitializeResult(Self());
        });
    }
    plat::PassOver([&] { base_->Load(node, context); });
}

host::XmlElementPtr CTestData::Save(host::IXmlDocument& document, const plat::Variant& option) {
    host::XmlElementPtr element;
    if (base_) plat::PassOver([&] { element = base_->Save(document, option); });
    return element;
}

void CTestData::PrintReport(const std::shared_ptr<host::IReport>& report, const plat::Variant& second) {
    if (base_) plat::PassOver([&] { base_->PrintReport(report, second); });
}

void CTestData::Terminate() {
    if (base_) plat::PassOver([&] { base_->Terminate(); });
}

void CTestData::UpdateReferences() { UpdateLimitReferences(); }

}  // namespace plugin
