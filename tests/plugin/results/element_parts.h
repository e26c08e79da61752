#pragma once
// The parts the plug-in gives a test element, made for a fake element: its
// limits (with standards whose bounds are all enabled), the SpO2 settings of
// test 100 and a result bound to it.

#include <memory>
#include <string>
#include <vector>

#include "host/limit_standards.h"
#include "plugin/config/spo2_simulation_config.h"
#include "plugin/results/limit_data.h"
#include "plugin/results/result_data.h"
#include "tests/plugin/results/fake_element.h"

namespace results_test {

// New limits owned by the element and held by it.
inline std::shared_ptr<plugin::CLimitData> GiveLimits(const std::shared_ptr<FakeElement>& element) {
    auto limits = std::make_shared<plugin::CLimitData>();
    limits->SetOwner(element);
    element->base->SetLimits(limits);
    return limits;
}

// The SpO2 settings of a test 100: 98 % at 72 beats per minute.
inline std::shared_ptr<plugin::CSpO2SimulationConfig> GiveSpO2Config(FakeElement& element) {
    auto config = std::make_shared<plugin::CSpO2SimulationConfig>();
    config->SetSpO2(98);
    config->SetBPM(72);
    element.base->SetConfiguration(config);
    return config;
}

// A new result bound to the element and held by it.
inline std::shared_ptr<plugin::CResultData> GiveResult(const std::shared_ptr<FakeElement>& element) {
    auto result = std::make_shared<plugin::CResultData>();
    result->InitializeResult(element);
    element->base->SetResult(result);
    return result;
}

// Both bounds of the item, set and enabled.
inline void SetBounds(host::ILimitItem& item, float high, float low) {
    item.SetBoundValue(0, high);
    item.SetBoundValue(1, low);
    item.SetBoundEnabled(0, true);
    item.SetBoundEnabled(1, true);
}

// A new standard of the limits with the test type's default items (and items
// of the keys given), every item with the bounds high and low.
inline std::shared_ptr<host::ILimitStandard> AddBoundedStandard(host::ILimitData& limits, const std::string& name,
                                                                const std::string& text, float high, float low,
                                                                const std::vector<std::string>& keys = {}) {
    auto standard = limits.CreateStandard(name, text);
    for (const std::string& key : keys) {
        auto item = std::make_shared<host::CLimitItem>();
        item->Initialize(key, "", "", "");
        standard->AddItem(item);
    }
    auto items = standard->LimitItems();
    for (int32_t i = 1; i <= items->Count(); ++i) SetBounds(*items->Item(i), high, low);
    return standard;
}

}  // namespace results_test
