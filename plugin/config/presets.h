#pragma once
// The table of the simulator's 24 built-in presets plus "Customize" (ID 24):
// their names in the user's language, the default preset, and the writing of a
// chosen preset's values into an SpO2 simulation configuration.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/values/collection.h"

namespace plugin {

class CSpO2SimulationConfig;

class CPresets : public plat::Object {
public:
    static constexpr int32_t kCount = 25;
    static constexpr int32_t kCustomID = 24;

    // Translates the 25 names once, in the current user-interface language.
    CPresets();

    // The 25 translated names in table order (the position is not the ID);
    // the same collection object on every call.
    const std::shared_ptr<plat::Collection<std::string>>& Presets();
    std::string DefaultPresetName() const;
    int32_t DefaultPresetID() const { return 0; }

    // Writes the values of the first preset whose translated name equals the
    // name exactly; nothing for a name that matches none.
    void SetSpO2ConfigByPreset(const std::string& name, CSpO2SimulationConfig& config) const;
    // The same by preset ID 0..24, so that a failed translation or two presets
    // translated alike cannot pick the wrong one; nothing for another ID.
    void SetSpO2ConfigById(int32_t presetId, CSpO2SimulationConfig& config) const;
    // The 1-based table position of a preset ID; 0 when there is none.
    static int32_t PositionOfId(int32_t presetId);
    // The translated name kept for a preset ID; "" for another ID.
    std::string NameOfId(int32_t presetId) const;
    // The untranslated "id::English" text of a preset ID; "" for another ID.
    static std::string_view PresetText(int32_t presetId);

private:
    void Apply(int32_t position, CSpO2SimulationConfig& config) const;

    std::array<std::string, kCount> names_;
    std::shared_ptr<plat::Collection<std::string>> presets_;
};

}  // namespace plugin
