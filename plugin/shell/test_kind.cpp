#include "plugin/shell/test_kind.h"

#include <array>

#include "driver/probe_report.h"
#include "plugin/config/spo2_simulation_config.h"
#include "plugin/shell/pelmo2_utils.h"

namespace plugin {

namespace {

using Readings = TestKind::Readings;
using Measurement = TestKind::Measurement;
namespace report = drv::probe_report;

// In the order of the grid's rows and of the readings event.
constexpr std::array<Measurement, 2> kSpO2Readings = {{
    {"SpO2", "20016::SpO2 level", "%", "", "20033::SpO2", &CSpO2SimulationConfig::SpO2},
    {"BPM", "20017::Beats per minute", "20034::BPM", "", "20034::BPM", &CSpO2SimulationConfig::BPM},
}};
constexpr std::array<Measurement, 3> kLedReadings = {{
    {"LED-R", "21001::LEDs - R", "20041::Volts", report::kRed},
    {"LED-IR", "21002::LEDs - IR", "20041::Volts", report::kInfrared},
    {"LED-PHOTO", "21003::LEDs - PHTO", "20041::Volts", report::kLedPhoto},
}};
constexpr std::array<Measurement, 2> kPhotodiodeReadings = {{
    {"PHOTODIODE-R", "21004::Photodiode - R", "", report::kPhotodiodeRed},
    {"PHOTODIODE-IR", "21005::Photodiode - IR", "", report::kPhotodiodeInfrared},
}};

// The first pin pair; the others follow its pattern.
constexpr std::array<Measurement, 1> kPinPairReadings = {{
    {"PIN1_TO_PIN2", kPinPairText, "20042::KOhms", report::kPin},
}};

constexpr std::array<TestKind, 4> kKinds = {{
    {100, "20001::SpO2 Simulation Test", "SpO2SimulationHtmlHelp.html", "SPO2", "", Readings::Typed, "",
     kSpO2Readings, true},
    {200, "20007::LED Test", "LEDHtmlHelp.html", "LED", "x1", Readings::ProbeReport, "LED", kLedReadings, false},
    {300, "20010::Photodiode Test", "PhotoDiodeHtmlHelp.html", "PHTO", "x1", Readings::ProbeReport, "PHOTO",
     kPhotodiodeReadings, false},
    {400, "20013::Resistance Test", "ResistanceHtmlHelp.html", "RESISTANCE", "x1", Readings::PinPairs, report::kPin,
     kPinPairReadings, false},
}};

}  // namespace

std::span<const TestKind> TestKinds() { return kKinds; }

const TestKind* FindTestKind(int32_t testId) {
    for (const TestKind& kind : kKinds)
        if (kind.id == testId) return &kind;
    return nullptr;
}

bool HasTypedReadings(int32_t testId) {
    const TestKind* kind = FindTestKind(testId);
    return kind && kind->readings == TestKind::Readings::Typed;
}

const TestKind::Measurement* FindTypedReading(std::string_view key) {
    for (const TestKind& kind : kKinds) {
        if (kind.readings != Readings::Typed) continue;
        for (const Measurement& reading : kind.measurements)
            if (reading.key == key) return &reading;
    }
    return nullptr;
}

bool HasConfiguration(int32_t testId) {
    const TestKind* kind = FindTestKind(testId);
    return kind && kind->hasConfiguration;
}

}  // namespace plugin
