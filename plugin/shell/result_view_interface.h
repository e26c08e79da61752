#pragma once
// What the test-guide window calls on the results grid "xrvResult"
// (ProgID "OrvikPelmo2.XResultView"), which it adds by ProgID. The grid's one
// event, "TestResultsChanged" (SpO2 text, BPM text, Boolean), arrives as the
// container's generic event.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/test_element.h"
#include "platform/values/variant.h"

namespace plugin {

inline constexpr const char* kTestResultsChangedEvent = "TestResultsChanged";

// What a TestResultsChanged event carries.
struct TestResultsReadings {
    std::string spo2;
    std::string bpm;
    bool enter = false;  // the entry ended with Enter in the last row
};

// The parameter list of a TestResultsChanged event: SpO2, BPM, Enter.
inline std::vector<plat::Variant> EventParams(const TestResultsReadings& readings) {
    return {plat::Variant(readings.spo2), plat::Variant(readings.bpm), plat::Variant(readings.enter)};
}

// The readings of a TestResultsChanged event's parameter list: none unless
// parameters 0 and 1 can be read as text (an object cannot).
inline std::optional<TestResultsReadings> EventReadings(const std::vector<plat::Variant>& params) {
    if (params.size() < 2) return std::nullopt;
    for (size_t i = 0; i < 2; ++i)
        if (params[i].Type() == plat::VarType::Object) return std::nullopt;
    TestResultsReadings readings{params[0].AsString(), params[1].AsString()};
    readings.enter = params.size() > 2 && params[2].Type() == plat::VarType::Boolean && params[2].AsBool();
    return readings;
}

class IResultView {
public:
    virtual ~IResultView() = default;
    // The test whose results are shown (kept weakly: the test owns the window).
    virtual void SetOwner(const host::TestElementPtr& element) = 0;
    // Whether the operator may type the SpO2 and BPM readings.
    virtual void SetEditMode(bool editable) = 0;
    virtual void DisplayResults(const std::shared_ptr<host::IResultData>& result) = 0;
    // The limit standard shown, by its two texts; `useExpected` computes the
    // SpO2 and BPM limits around the configured values.
    virtual void SelectStandard(const std::string& name, const std::string& text, bool useExpected) = 0;
    // Rebuilds the grid for a new run.
    virtual void InitTest() = 0;
    // Raises TestResultsChanged with the current entries.
    virtual void FireTestResultsChangedEvent() = 0;
    // The rows of a probe test without a limit standard to show.
    virtual void InitProbeTest() = 0;
    // Redraws the grid.
    virtual void Refresh() = 0;
};

}  // namespace plugin
