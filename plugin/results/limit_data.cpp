#include "plugin/results/limit_data.h"

#include "host/error_service.h"
#include "host/limit_standards.h"
#include "host/translate_text.h"
#include "platform/values/abort_error.h"
#include "platform/values/pass_over.h"
#include "plugin/shell/pelmo2_utils.h"
#include "plugin/shell/printed_limit_standards.h"
#include "plugin/shell/test_kind.h"
#include "plugin/results/test_type_keys.h"
#include "plugin/results/limit_dialog_maker.h"

namespace plugin {

namespace {

// The unit of a key of the kind: its reading's, else that of the kind's first.
std::string_view KindUnit(const TestKind& kind, const std::string& key) {
    for (const TestKind::Measurement& measurement : kind.measurements)
        if (measurement.key == key) return measurement.unit;
    return kind.measurements.empty() ? std::string_view() : kind.measurements.front().unit;
}

}  // namespace

CLimitData::CLimitData() { SetPrintedLimitStandards(LimitStandardList(1)); }

int32_t CLimitData::OwnerTestID() const {
    int32_t testId = 0;
    plat::PassOver([&] {
        if (auto owner = owner_.lock()) testId = owner->TestID();
    });
    return testId;
}

void CLimitData::CopyStandards(const host::ILimitData& source) {
    standards_.reset();
    plat::PassOver([&] {
        if (auto theirs = source.Standards()) standards_ = theirs->Copy();
    });
}

std::shared_ptr<host::ILimitData> CLimitData::Clone() const {
    auto copy = std::make_shared<CLimitData>();
    copy->CopyStandards(*this);
    copy->hasDialog_ = hasDialog_;
    return copy;
}

std::shared_ptr<host::IDialog> CLimitData::CreateDialog() {
    try {
        return NewLimitDialog(std::dynamic_pointer_cast<host::ILimitData>(shared_from_this()), OwnerTestID());
    } catch (...) {
        plat::RethrowAbort();
        host::ErrorService().ReportCurrent("CLimitData");
        return nullptr;
    }
}

void CLimitData::AddLimitItem(host::ILimitStandard& standard, const std::string& key, const std::string& unit,
                              const std::string& expression) const {
    auto item = std::make_shared<host::CLimitItem>();
    item->Initialize(key, unit, "", "");
    item->SetExpression(0, expression);
    standard.AddItem(item);
}

void CLimitData::AddDefaultLimitItems(host::ILimitStandard& standard) const {
    const int32_t testId = OwnerTestID();
    const std::string expression = HasConfiguration(testId) ? "X+Y" : "";
    for (const std::string& key : TestTypeKeys(testId))
        plat::PassOver([&] { AddLimitItem(standard, key, MeasurementUnit(key), expression); });
}

std::shared_ptr<host::ILimitStandard> CLimitData::CreateStandard(const std::string& name, const std::string& text) {
    auto standard = std::make_shared<host::CLimitStandard>();
    standard->Initialize(name, text, 1);
    AddDefaultLimitItems(*standard);
    if (!standards_) standards_ = std::make_shared<host::CLimitStandards>();
    for (int32_t i = 1; i <= standards_->Count(); ++i) {
        std::shared_ptr<host::ILimitStandard> existing;
        plat::PassOver([&] { existing = standards_->Item(i); });
        if (existing && existing->Text() == text) return existing;
    }
    standards_->Add(standard);
    return standard;
}

void CLimitData::TranslateUnits(host::ILimitStandards& standards) const {
    const TestKind* kind = FindTestKind(OwnerTestID());
    if (!kind) return;
    for (int32_t s = 1; s <= standards.Count(); ++s) {
        auto standard = standards.Item(s);
        auto items = standard ? standard->LimitItems() : nullptr;
        for (int32_t i = 1; items && i <= items->Count(); ++i) {
            plat::PassOver([&] {
                auto item = items->Item(i);
                item->SetUnit(host::TranslateText(kLanguageSection, KindUnit(*kind, item->Key())));
            });
        }
    }
}

void CLimitData::Load(const host::IXmlElement& node, const std::shared_ptr<host::ILoadContext>& context) {
    auto loaded = std::make_shared<host::CLimitStandards>();
    if (!plat::PassOver([&] { loaded->Load(node, context); })) return;
    if (loaded->Count() < 1) {
        standards_.reset();
        return;
    }
    TranslateUnits(*loaded);
    standards_ = loaded;
}

host::XmlElementPtr CLimitData::Save(host::IXmlDocument& document) const {
    if (!standards_) return nullptr;
    host::XmlElementPtr element;
    plat::PassOver([&] { element = standards_->Save(document); });
    if (element) plat::PassOver([&] { element->SetName("ExpectedResult"); });
    return element;
}

void CLimitData::PrintReport(const std::shared_ptr<host::IReport>&, const plat::Variant&) {
    try {
        if (!standards_ || standards_->Count() < 1) {
            SetPrintedLimitStandards(LimitStandardList(1));
            return;
        }
        LimitStandardList list;
        for (int32_t i = 1; i <= standards_->Count(); ++i) {
            auto standard = standards_->Item(i);
            list.push_back(standard ? standards_->Item(0, standard->Name(), standard->Text()) : nullptr);
        }
        SetPrintedLimitStandards(std::move(list));
    } catch (...) {
        plat::RethrowAbort();
        host::ErrorService().ReportCurrent("Component.Module");
    }
}

void CLimitData::UpdateLimits(const host::TestElementPtr&) {
    if (standards_) plat::PassOver([&] { standards_->UpdateReferences(owner_.lock()); });
}

plat::ObjectPtr CLimitData::FindFailedStandards(const std::shared_ptr<host::IMeasurement>& measurement,
                                                const std::shared_ptr<host::ILimitStandards>& runStandards) const {
    if (!standards_) return nullptr;
    auto check = std::dynamic_pointer_cast<host::ILimitStandardsCheck>(standards_);
    if (!check)
        throw host::HostError("Pelmo2", host::errors::LimitData, "CLimitData", 1,
                              "The limit standards offer no check of a measurement");
    return check->FailedStandards(measurement, runStandards);
}

}  // namespace plugin
