// CSpO2SimulationConfig's section of the host's report: one table of the
// settings, labels in the report's language.

#include "host/report.h"
#include "host/translate_text.h"
#include "platform/values/numfmt.h"
#include "platform/values/pass_over.h"
#include "plugin/config/builtin_makes.h"
#include "plugin/config/presets.h"
#include "plugin/config/spo2_simulation_config.h"

namespace plugin {

namespace {

constexpr const char* kSection = "Pelmo2";
constexpr const char* kIndent = "      ";

std::string Whole(int32_t value) { return plat::FormatNumber(value, "####0"); }

class Rows {
public:
    explicit Rows(host::IReport& report) : report_(report) {}
    void Add(std::string_view label, const std::string& value, std::string_view unit = {}) {
        body_ += "|" + std::string(kIndent) + host::TranslateText(kSection, label, {}, &report_) + "|" + value;
        if (!unit.empty()) body_ += "|" + host::TranslateText(kSection, unit, {}, &report_);
        body_ += ";";
    }
    const std::string& Body() const { return body_; }

private:
    host::IReport& report_;
    std::string body_;
};

}  // namespace

void CSpO2SimulationConfig::BuildReportHeader(host::IReport& report, std::string& format, std::string& header) const {
    header = "|{\\i\\b " + host::TranslateText(kSection, "310::Configuration", {}, &report) + "}|{\\i\\b " +
             host::TranslateText(kSection, "231::Value", {}, &report) + "}|{\\i\\b " +
             host::TranslateText(kSection, "234::Unit", {}, &report) + "};";
    int32_t width = 0;
    plat::PassOver([&] { width = report.UsableWidth(10); });
    const int32_t w = (width - 3360) / 6 - 50;
    const std::string a = std::to_string(w + 1440), b = std::to_string(w + 600), c = std::to_string(w - 200),
                      d = std::to_string(w - 150), e = std::to_string(w + 500);
    format = "<+560|<" + a + "|>+" + b + "|>+" + c + "|>+" + d + "|>+" + c + "|>+" + e + "|<+!554|<+560;";
}

std::string CSpO2SimulationConfig::BuildReportBody(host::IReport& report) const {
    Rows rows(report);
    plat::PassOver([&] {
        rows.Add(
            "22024::Simulation Type",
            host::TranslateText(kSection, simulationType_ == 1 ? "22025::Optical" : "22026::Electrical", {}, &report));
    });
    if (oximeterMake_ < kFirstCustomMake || !currentMake_) {
        // A custom index without its make still names the make it asked for.
        plat::PassOver([&] {
            rows.Add("22020::Oximeter make name",
                     oximeterMake_ < kFirstCustomMake ? BuiltInMakeName(oximeterMake_) : oximeterMakeName_);
        });
        plat::PassOver([&] { rows.Add("20043::TLC", Whole(GetTlc())); });
    } else {
        plat::PassOver([&] {
            const makes::COximeterMake& make = *currentMake_;
            rows.Add("22020::Oximeter make name", make.Name());
            rows.Add("20084::IR DC", Whole(make.IRDC()));
            rows.Add("20083::Red DC", Whole(make.RedDC()));
            rows.Add("20086::IR AC", Whole(make.IRAC()));
            rows.Add(
                "20085::Light level",
                host::TranslateText(kSection, make.LightLevel() == 1 ? "20089::Medium" : "20088::Low", {}, &report));
            rows.Add("20043::TLC", Whole(make.TLC()));
        });
    }
    if (simulationId_ != CPresets::kCustomID)
        plat::PassOver([&] {
            rows.Add("20073::Preset condition",
                     host::TranslateText(kSection, CPresets::PresetText(simulationId_), {}, &report));
        });
    plat::PassOver([&] { rows.Add("20016::SpO2 level", Whole(spo2_), "%"); });
    plat::PassOver([&] { rows.Add("20017::Beats per minute", Whole(bpm_), "20034::BPM"); });
    plat::PassOver([&] {
        rows.Add("20018::Pulse amplitude", plat::NumberToText(makes::ValText(pulseAmplitude_)), "%");
    });
    return rows.Body();
}

void CSpO2SimulationConfig::PrintReport(const std::shared_ptr<host::IReport>& report) {
    if (!report) return;
    std::string format, header, body;
    plat::PassOver([&] { BuildReportHeader(*report, format, header); });
    plat::PassOver([&] { body = BuildReportBody(*report); });
    if (body.empty()) return;
    plat::PassOver([&] {
        report->SetFontSize(10);
        report->SetFontStyle(0);
        report->SetGridLines(1);
        report->AddTable(format, header, body, 0, 0, 0);
    });
}

}  // namespace plugin
