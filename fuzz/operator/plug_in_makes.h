#pragma once
// What the configuration view and the settings page share under the operator:
// the process's make folder with two custom makes beside the built-in ones, and
// the rule of the custom-make view's read-only R-value grid. Header only, as
// each target builds the plug-in's flavour of the make library itself.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fuzz/operator/grid_commit_check.h"
#include "fuzz/operator/process_sandbox.h"
#include "makes/make_utils.h"
#include "platform/com/registry.h"
#include "platform/values/numfmt.h"

namespace fuzz_operator {

// Made once per process; `registerClasses` then registers what the target serves.
inline const std::string& PlugInMakeFolder(const std::function<void(plat::Registry&)>& registerClasses) {
    static const std::string folder = [&] {
        const std::string path = ProcessSandbox::Instance().EmptyFolder("makes") + "/";
        auto& registry = plat::Registry::Instance();
        registry.WriteValue(plat::Hive::LocalMachine, makes::kRegistryKey, "Path", path);
        for (const char* name : {"Acme", "Zeta"}) {
            auto make = std::make_shared<makes::COximeterMake>();
            make->SetName(name);
            make->SetRCurve(std::make_shared<makes::RCurveCollection>());
            for (int32_t spo2 = makes::kFirstSpO2; spo2 <= makes::kLastSpO2; ++spo2)
                make->AddRValue(spo2, plat::NumberToText(1.5 - (spo2 - makes::kFirstSpO2) * 0.01));
            makes::SaveMakesFile(make, std::string(name) + ".txt", makes::kRegistryKey);
        }
        registerClasses(registry);
        return path;
    }();
    return folder;
}

// An R value shown in the custom-make view: no number puts back the old text, a
// blank stays blank, a number is shown as the make library formats it.
inline std::optional<std::vector<std::string>> CustomMakeRValueRule(int32_t, int32_t, const std::string& typed) {
    const auto kind = GridCommitCheck::Classify(typed);
    if (kind == GridCommitCheck::Number::No) return std::vector<std::string>{};
    if (kind == GridCommitCheck::Number::Blank) return std::vector<std::string>{"", typed};
    return std::vector<std::string>{plat::NumberToText(makes::ValText(typed))};
}

}  // namespace fuzz_operator
