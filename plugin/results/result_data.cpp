#include "plugin/results/result_data.h"

#include "host/path_helper.h"
#include "host/translate_text.h"
#include "host/xml.h"
#include "platform/values/abort_error.h"
#include "platform/values/pass_over.h"
#include "platform/values/text.h"
#include "plugin/config/checked_number.h"
#include "plugin/config/config_classes.h"
#include "plugin/config/spo2_simulation_config.h"
#include "plugin/shell/printed_limit_standards.h"
#include "plugin/results/result_status.h"
#include "plugin/results/test_type_keys.h"
#include "plugin/shell/pelmo2_utils.h"
#include "plugin/shell/test_kind.h"

namespace plugin {

namespace {

// The fields of a result text, split at every "::"; none for an empty text.
std::vector<std::string> SplitFields(const std::string& text) {
    std::vector<std::string> fields;
    if (text.empty()) return fields;
    size_t start = 0;
    for (;;) {
        const size_t at = text.find("::", start);
        if (at == std::string::npos) {
            fields.push_back(text.substr(start));
            return fields;
        }
        fields.push_back(text.substr(start, at - start));
        start = at + 2;
    }
}

// The field of a reading by its key; -1 for a pin pair, which names its field.
int32_t FixedField(const std::string& key) {
    for (const TestKind& kind : TestKinds()) {
        if (kind.readings == TestKind::Readings::PinPairs) continue;
        for (size_t i = 0; i < kind.measurements.size(); ++i)
            if (kind.measurements[i].key == key) return static_cast<int32_t>(i);
    }
    return -1;
}

// The reading of a pin pair: the text after "=" of the first field that
// names the key before its "=" (letter case ignored).
bool PinPairField(const std::vector<std::string>& fields, const std::string& key, std::string& reading) {
    for (const std::string& field : fields) {
        const size_t at = field.find('=');
        if (at == std::string::npos) continue;
        if (plat::EqualsNoCase(std::string_view(field).substr(0, at), key)) {
            reading = field.substr(at + 1);
            return true;
        }
    }
    return false;
}

}  // namespace

int32_t CResultData::ParentTestID() const {
    int32_t testId = 0;
    plat::PassOver([&] {
        if (auto parent = parent_.lock()) testId = parent->TestID();
    });
    return testId;
}

void CResultData::InitializeResult(const host::TestElementPtr& parent) {
    parent_ = parent;
    status_ = ersNotEvaluated;
    measurements_ = std::make_shared<CMeasurementColl>();
}

std::shared_ptr<host::IMeasurement> CResultData::Measurement(const plat::Variant& index) const {
    std::shared_ptr<host::IMeasurement> measurement;
    if (measurements_) plat::PassOver([&] { measurement = measurements_->Item(index); });
    return measurement;
}

void CResultData::AddMeasurement(const std::string& key, bool wholeNumbers, const plat::Variant& preset) {
    auto measurement = std::make_shared<CMeasurement>();
    measurement->Init(key, MeasurementDescription(key), key, MeasurementUnit(key), wholeNumbers);
    if (!preset.IsEmpty()) measurement->SetPresetValue(preset);
    measurements_->Add(measurement);
}

void CResultData::AddPinPairMeasurements(const host::ITestElement& parent) {
    std::shared_ptr<host::ILimitStandards> standards;
    plat::PassOver([&] {
        if (auto limits = parent.Limits()) standards = limits->Standards();
    });
    if (!standards || standards->Count() < 1) {
        AddMeasurement(PinPairKey(1, 2), false, {});
        return;
    }
    std::vector<std::string> keys;
    for (int32_t s = 1; s <= standards->Count(); ++s) {
        plat::PassOver([&] {
            auto items = standards->Item(s)->LimitItems();
            for (int32_t i = 1; items && i <= items->Count(); ++i) {
                const std::string name = items->Item(i)->Key();
                bool known = false;
                for (const std::string& key : keys) known = known || plat::EqualsNoCase(key, name);
                if (!known) keys.push_back(name);
            }
        });
    }
    for (const std::string& key : keys) plat::PassOver([&] { AddMeasurement(key, false, {}); });
}

void CResultData::BuildMeasurementList() {
    if (!measurements_) measurements_ = std::make_shared<CMeasurementColl>();
    if (measurements_->Count() >= 1) return;
    auto parent = parent_.lock();
    if (!parent) return;
    const int32_t testId = ParentTestID();
    const TestKind* kind = FindTestKind(testId);
    if (kind && kind->readings == TestKind::Readings::PinPairs) {
        AddPinPairMeasurements(*parent);
        return;
    }
    std::shared_ptr<CSpO2SimulationConfig> config;
    if (HasConfiguration(testId))
        plat::PassOver([&] { config = std::dynamic_pointer_cast<CSpO2SimulationConfig>(parent->Configuration()); });
    const bool typed = HasTypedReadings(testId);
    for (const std::string& key : TestTypeKeys(testId)) {
        plat::PassOver([&] {
            plat::Variant preset;
            const TestKind::Measurement* reading = FindTypedReading(key);
            if (config && reading && reading->configured) preset = (config.get()->*reading->configured)();
            AddMeasurement(key, typed, preset);
        });
    }
}

void CResultData::StoreResult(const std::string& resultText, const std::shared_ptr<host::ITestSetup>& setup) {
    StoreReadings(SplitFields(resultText), setup);
}

void CResultData::StoreReadings(const std::vector<std::string>& fields, const std::shared_ptr<host::ITestSetup>& setup) {
    plat::PassOver([&] { BuildMeasurementList(); });
    if (fields.empty() || !measurements_) return;

    std::shared_ptr<host::ILimitStandards> runStandards;
    std::shared_ptr<host::ILimitData> limits;
    plat::PassOver([&] {
        if (setup) runStandards = setup->LimitStandards();
    });
    plat::PassOver([&] {
        if (auto parent = parent_.lock()) limits = parent->Limits();
    });

    bool passed = false, failed = false, notEvaluated = false;
    for (const auto& measurement : measurements_->NewEnum()) {
        plat::PassOver([&] {
            const std::string key = measurement->Key();
            const int32_t index = FixedField(key);
            if (index >= 0) {
                measurement->StoreValue(index < static_cast<int32_t>(fields.size()) ? fields[static_cast<size_t>(index)]
                                                                                    : std::string());
            } else {
                std::string reading;
                if (PinPairField(fields, key, reading)) measurement->StoreValue(reading);
            }
        });
        plat::PassOver([&] { measurement->Evaluate(runStandards, limits); });
        switch (measurement->Status()) {
            case ersNotEvaluated: notEvaluated = true; break;
            case ersPassed: passed = true; break;
            case ersFailed: failed = true; break;
            default: break;
        }
    }
    if (failed || (passed && notEvaluated))
        status_ = ersFailed;
    else if (passed)
        status_ = ersPassed;
    else
        status_ = ersNotEvaluated;
}

std::shared_ptr<host::IDialog> CResultData::CreateDialog() {
    try {
        auto dialog = Factory().NewSetupDialog();
        auto setupHost = std::dynamic_pointer_cast<ISetupDialogHost>(dialog);
        if (!dialog || !setupHost) return nullptr;
        setupHost->Load();
        // Without its page the dialog would show nothing: no dialog then.
        if (!setupHost->CreateSetupCtrl(std::string(kProjectName) + ".XDetailedResult", "xvbSetupControl")) {
            plat::PassOver([&] { dialog->Unload(); });
            return nullptr;
        }
        dialog->Initialize(plat::Variant(shared_from_this()));
        return dialog;
    } catch (...) {
        plat::RethrowAbort();
        return nullptr;
    }
}

void CResultData::Load(const host::IXmlElement& element, const std::shared_ptr<host::ILoadContext>& context) {
    plat::PassOver([&] {
        const std::string mti = element.GetAttribute("MTI");
        if (mti.empty()) return;
        if (auto id = CheckedWholeNumber(mti)) mtiid_ = *id;
    });
    auto children = element.ChildNodes();
    for (int32_t i = 0; i < children->Count(); ++i) {
        plat::PassOver([&] {
            auto child = children->ElementAt(i);
            if (!child) return;
            const std::string name = child->Name();
            if (name == "Status") {
                status_ = ReadResultStatus(*child);
            } else if (name == "Comment") {
                comment_ = child->Text();
            } else if (name == "AllMeasurements") {
                auto loaded = std::make_shared<CMeasurementColl>();
                loaded->Load(*child, context);
                measurements_ = loaded;
            }
        });
    }
}

host::XmlElementPtr CResultData::Save(host::IXmlDocument& document) const {
    host::XmlElementPtr element;
    if (!plat::PassOver([&] { element = document.CreateElement("ResultItem"); }) || !element) return nullptr;
    if (mtiid_ != 0) plat::PassOver([&] { element->SetAttribute("MTI", host::PathHelper().LongToText(mtiid_)); });
    plat::PassOver([&] { element->AppendChild(host::XmlFactory().CreateStatusElement(document, status_)); });
    if (!comment_.empty()) plat::PassOver([&] { element->AddChild("Comment", comment_); });
    if (measurements_)
        plat::PassOver([&] {
            if (auto all = measurements_->Save(document)) element->AppendChild(all);
        });
    return element;
}

CResultData::ReportLayout CResultData::GetReportLayout(host::IReport& report) const {
    const auto title = [&](const char* text) { return host::TranslateText(kLanguageSection, text, {}, &report); };
    const std::string result = title("312::Result:"), value = title("231::Value"), high = title("321::High value"),
                      low = title("322::Low value"), limitsTitle = title("320::Limits:");
    int32_t c = 0;
    plat::PassOver([&] { c = (report.UsableWidth(10) - 3360) / 6; });
    std::string preset, unit;
    // A kind whose readings have no unit has no unit column title.
    const int32_t testId = ParentTestID();
    const TestKind* kind = FindTestKind(testId);
    if (HasConfiguration(testId)) preset = title("20099::Preset");
    if (!kind || kind->measurements.empty() || !kind->measurements.front().unit.empty())
        unit = title("234::Unit");

    int32_t options = 0, mode = 0;
    plat::PassOver([&] { options = report.PrintOptions(); });
    plat::PassOver([&] { mode = report.PrintLevel(); });
    const bool limitColumns = (options & host::IReport::LimitColumns) != 0 && mode != 2;

    ReportLayout layout;
    layout.header = "|{\\i\\b " + result + "}|{\\i\\b " + preset + "}|{\\i\\b " + value + "}|{\\i\\b " + unit;
    if (limitColumns) layout.header += "}|{\\i\\b " + high + "}|{\\i\\b " + low + "}|{\\i\\b " + limitsTitle;
    layout.header += "};";

    c -= 50;
    layout.format = "<+560|<2240";
    for (int32_t width : {c, c - 200, c - 200, c - 50, c - 100, c + 300}) layout.format += "|>+" + std::to_string(width);
    layout.format += "|<+!554|<+560;";
    return layout;
}

std::string CResultData::GetReportRows(const std::shared_ptr<host::IReport>& report) const {
    if (!report || !measurements_) return {};
    std::string rows;
    for (const auto& measurement : measurements_->NewEnum())
        if (measurement->Status() != ersNotEvaluated)
            plat::PassOver([&] { rows += measurement->GetReportLine(report); });
    return rows;
}

void CResultData::PrintReport(const std::shared_ptr<host::IReport>& report, const plat::Variant& second) {
    if (!report) return;
    // The limit columns are this test's: its limits fill the printed standards.
    std::shared_ptr<host::ILimitData> limits;
    plat::PassOver([&] {
        if (auto parent = parent_.lock()) limits = parent->Limits();
    });
    if (limits)
        plat::PassOver([&] { limits->PrintReport(report, second); });
    else
        SetPrintedLimitStandards(LimitStandardList(1));

    const ReportLayout layout = GetReportLayout(*report);
    const std::string rows = GetReportRows(report);
    if (rows.empty()) return;
    plat::PassOver([&] {
        report->SetFontSize(10);
        report->SetFontStyle(0);
        report->SetGridLines(1);
        report->AddTable(layout.format, layout.header, rows, 0, 0, 0);
    });
}

}  // namespace plugin
