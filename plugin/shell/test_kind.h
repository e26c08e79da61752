#pragma once
// The plug-in's test kinds, one row each. Code reads a kind's row instead of
// naming its test ID: adding a kind is adding a row to the table in
// test_kind.cpp, and the other files that docs/ARCHITECTURE.md lists under
// "Adding a test kind" (template, help page, icons, and for a probe kind the
// report's words, the driver's parser and the simulator's report).
//
//   const TestKind* kind = FindTestKind(element->TestID());
//   if (kind && kind->hasConfiguration) ...

#include <cstdint>
#include <span>
#include <string_view>

namespace plugin {

class CSpO2SimulationConfig;

struct TestKind {
    // How the readings of a run come in.
    enum class Readings {
        Typed,        // the operator types them into the results grid
        ProbeReport,  // the fixed readings of the simulator's probe report
        PinPairs,     // the probe report's pin pairs, "PIN<a>_TO_PIN<b>"
    };

    // A fixed reading: its stored key, language texts ("id::text") of its
    // description and unit, and the start of its item in the probe report
    // (driver/probe_report.h). A typed reading has instead its shorter name in
    // the results grid and the configured value it is expected to show, around
    // which its tolerance limits lie.
    struct Measurement {
        std::string_view key, description, unit, reportPrefix;
        std::string_view gridName = {};
        int32_t (CSpO2SimulationConfig::*configured)() const = nullptr;
    };

    int32_t id = 0;                // the test ID, also its icon's number
    std::string_view name;         // display name, a language text
    std::string_view helpFile;     // help page of the test-guide window
    std::string_view icon;         // icon resource base name ...
    std::string_view iconDepth;    // ... and its colour-depth suffix
    Readings readings = Readings::ProbeReport;
    std::string_view keyPrefix;    // the limit keys of a probe kind begin with it
    // In the order of the result's fields; pin pairs list the first pair only.
    std::span<const Measurement> measurements;
    bool hasConfiguration = false;  // an SpO2 simulation configuration
};

// Every kind, in test-ID order.
std::span<const TestKind> TestKinds();

// The kind of a test ID; nullptr for any other ID.
const TestKind* FindTestKind(int32_t testId);

// Whether the kind of that test ID has the operator type its readings.
bool HasTypedReadings(int32_t testId);
// The typed reading of that key (exact case); nullptr for any other key.
const TestKind::Measurement* FindTypedReading(std::string_view key);
// Whether the kind of that test ID has a configuration.
bool HasConfiguration(int32_t testId);

}  // namespace plugin
