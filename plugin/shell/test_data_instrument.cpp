// CTestData's instrument steps, run by Start once remote mode is open: the
// probe tests read the simulator's probe report into the result; the SpO2
// test sets the make (built in, found on the simulator by name, or uploaded),
// the TLC and the preset or custom values. The abort flag is read before
// every command: Stop, Abort or a communication error end the steps there.

#include <algorithm>
#include <span>
#include <string>
#include <vector>

#include "driver/probe_report.h"
#include "driver/vti_interface.h"
#include "host/translate_text.h"
#include "makes/make_utils.h"
#include "makes/oximeter_make.h"
#include "platform/ui/msgbox.h"
#include "platform/values/pass_over.h"
#include "platform/values/text.h"
#include "dialogs/frm_upload_location.h"
#include "plugin/config/spo2_simulation_config.h"
#include "plugin/shell/f_test_guide.h"
#include "plugin/shell/pelmo2_utils.h"
#include "plugin/factory/plugin_factory.h"
#include "plugin/shell/test_data.h"
#include "plugin/shell/test_kind.h"

namespace plugin {

namespace {

constexpr int32_t kCustomPreset = 24;

// The first `count` characters of a UTF-8 text (never a split character).
std::string LeadingCharacters(const std::string& text, std::size_t count) {
    std::size_t end = 0;
    for (std::size_t seen = 0; end < text.size(); ++end) {
        const bool starts = (static_cast<unsigned char>(text[end]) & 0xC0) != 0x80;
        if (starts && seen++ == count) break;
    }
    return text.substr(0, end);
}

// "KEY=VALUE" (exactly one "=") or "KEY VALUE" (split at the first blank
// after the first character); false for any other item.
bool SplitItem(const std::string& item, std::string& key, std::string& value) {
    const std::string text = plat::Trim(item);
    const auto equals = text.find('=');
    if (equals != std::string::npos && text.find('=', equals + 1) == std::string::npos) {
        key = text.substr(0, equals);
        value = text.substr(equals + 1);
        return true;
    }
    const auto blank = text.size() > 1 ? text.find(' ', 1) : std::string::npos;
    if (blank == std::string::npos) return false;
    key = text.substr(0, blank);
    value = text.substr(blank + 1);
    return true;
}

// A pin item with its pin pair named as the measurement key: "PIN1-PIN2=10"
// gives "PIN1_TO_PIN2=10". Only the key changes: a value may carry a sign.
std::string PinPairItem(const std::string& item) {
    const auto equals = item.find('=');
    const std::string key = equals == std::string::npos ? item : item.substr(0, equals);
    const std::string rest = equals == std::string::npos ? std::string() : item.substr(equals);
    return drv::probe_report::PinPairKeyOfItem(key) + rest;
}

}  // namespace

void CTestData::DriveInstrument() {
    auto guide = guide_;
    if (!guide) return;
    auto control = guide->VTIControl();  // held: an error handler may remove the window's
    if (!control || abort_) return;
    if (HasConfiguration(TestID())) {
        if (auto config = std::dynamic_pointer_cast<CSpO2SimulationConfig>(spo2Config_)) DriveSpO2(*control, *config);
    } else {
        DriveProbe(*control);
    }
}

// ---- probe tests -----------------------------------------------------------------

void CTestData::DriveProbe(drv::IXVTIControl& control) {
    drv::KeyedCollection probe;
    plat::PassOver([&] { control.GetProbeResults(probe); });
    if (abort_) return;

    // A test ID of no kind is read as a probe test whose items match nothing.
    const TestKind* kind = FindTestKind(TestID());
    const bool pinPairs = kind && kind->readings == TestKind::Readings::PinPairs;
    const std::span<const TestKind::Measurement> fixed =
        kind && !pinPairs ? kind->measurements : std::span<const TestKind::Measurement>();
    std::vector<std::string> values(fixed.size());
    std::vector<std::string> pins;
    for (const plat::Variant& entry : probe) {
        std::string item;
        plat::PassOver([&] { item = entry.AsString(); });
        if (pinPairs) {
            if (plat::StartsWithNoCase(item, kind->measurements.front().reportPrefix))
                pins.push_back(PinPairItem(item));
            continue;
        }
        std::string key, value;
        if (!SplitItem(item, key, value)) continue;
        for (size_t i = 0; i < fixed.size(); ++i)
            if (plat::StartsWithNoCase(key, fixed[i].reportPrefix)) {
                values[i] = value;
                break;
            }
    }

    // A report that holds none of the test's readings is no result.
    if (!fixed.empty() && std::all_of(values.begin(), values.end(), [](const std::string& v) { return v.empty(); })) {
        ReportCommunicationError(drv::ecsUnexpectedReply);
        return;
    }
    if (auto result = std::dynamic_pointer_cast<ITestResult>(Result()))
        plat::PassOver([&] { result->StoreReadings(pinPairs ? pins : values, TestSetup()); });
    if (auto guide = guide_) plat::PassOver([&] { guide->UpdateToolBar(); });
}

// ---- SpO2 simulation test ----------------------------------------------------------

void CTestData::DriveSpO2(drv::IXVTIControl& control, CSpO2SimulationConfig& config) {
    const int32_t make = config.OximeterMake();
    if (make < makes::kFirstCustomMake) {
        plat::PassOver([&] { control.SetMake(std::to_string(make)); });
    } else if (config.UploadRCurve()) {
        if (!UploadMake(control, config)) return;
    } else {
        const std::string name = LeadingCharacters(config.OximeterMakeName(), makes::kNameWidth);
        bool found = false;
        for (int32_t number = makes::kFirstCustomMake; number <= makes::kLastCustomMake && !found; ++number) {
            std::string reported;
            plat::PassOver([&] { reported = control.SetMake(std::to_string(number)); });
            if (abort_) return;
            found = plat::EqualsNoCase(reported, name);
        }
        if (!found) {
            const std::string question =
                host::TranslateText(kLanguageSection,
                                    "20091::R-Curve selected in the custom setup does not exist in the Pelmo Q5") +
                "\r\n\r\n" +
                host::TranslateText(kLanguageSection,
                                    "20092::Click Yes - To upload current R-Curve and continue with test.") +
                "\r\n" + host::TranslateText(kLanguageSection, "20093::Click No - To exit from test.");
            int32_t answer = plat::ui::vbNo;
            plat::PassOver([&] {
                answer = plat::ui::MsgBox(question, plat::ui::vbYesNo | plat::ui::vbCritical,
                                          host::TranslateText(kLanguageSection, "20090::R-Curve Error"));
            });
            if (answer != plat::ui::vbYes) {
                abort_ = true;
                if (auto guide = guide_) plat::PassOver([&] { guide->EndRun(); });
                return;
            }
            if (!UploadMake(control, config)) return;
        }
    }

    if (abort_) return;
    plat::PassOver([&] { control.SetTLC(config.GetTlc()); });
    if (abort_) return;
    const int32_t preset = config.SimulationID();
    if (preset != kCustomPreset) {
        plat::PassOver([&] { control.SetPresetValue(preset); });
        return;
    }
    plat::PassOver([&] { control.SetSpO2(config.SpO2()); });
    if (abort_) return;
    plat::PassOver([&] { control.SetBPM(config.BPM()); });
    if (abort_) return;
    plat::PassOver([&] { control.SetPulseAmplitude(makes::ValText(config.PulseAmplitude())); });
}

bool CTestData::UploadMake(drv::IXVTIControl& control, CSpO2SimulationConfig& config) {
    const makes::OximeterMakePtr make = config.CurrentMake();
    if (!make) {
        // Reached after a failed search: there is nothing to send.
        ShowRCurveError();
        return false;
    }
    std::optional<int32_t> slot;
    plat::PassOver([&] { slot = dialogs::AskUploadSlot(make->LightLevel()); });
    if (!slot) abort_ = true;
    if (abort_) return false;
    const drv::KeyedCollection values = makes::CurveForUpload(*make);
    plat::PassOver([&] {
        control.LoadMakeParameters(*slot, make->Name(), make->RedDC(), make->IRDC(), make->IRAC(), &values);
    });
    return !abort_;
}

}  // namespace plugin
