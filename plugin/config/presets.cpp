#include "plugin/config/presets.h"

#include "host/translate_text.h"
#include "platform/values/numfmt.h"
#include "platform/values/pass_over.h"
#include "plugin/config/spo2_simulation_config.h"

namespace plugin {

namespace {

struct Preset {
    std::string_view text;
    int32_t spo2;
    int32_t bpm;
    double amplitude;
    int32_t id;
};

// Table order is the order of the list the user sees.
constexpr std::array<Preset, CPresets::kCount> kPresets{{
    {"20048::Normal", 98, 55, 5, 0},
    {"20049::Normal/Tap", 98, 55, 5, 8},
    {"20050::Normal/Shiver", 98, 55, 5, 9},
    {"20051::Weak Pulse", 90, 95, 0.65, 1},
    {"20052::Weak Pulse/Tap", 90, 95, 0.65, 10},
    {"20053::Weak Pulse/Shiver", 90, 95, 0.65, 11},
    {"20054::Brad", 88, 45, 5, 2},
    {"20055::Brad/Shiver", 88, 45, 5, 12},
    {"20056::Hypox", 70, 95, 2, 3},
    {"20057::Hypox/Tap", 70, 95, 2, 13},
    {"20058::Hypox/Shiver", 70, 95, 2, 14},
    {"20059::Neonate", 90, 180, 1, 4},
    {"20060::Neonate/Shiver", 90, 180, 1, 15},
    {"20061::Tach", 85, 130, 1.2, 5},
    {"20062::Geriatric", 92, 95, 2.4, 6},
    {"20063::Obese", 93, 90, 3, 7},
    {"20064::Brady Tap #2", 88, 45, 5, 16},
    {"20065::Hypox Tap #2", 70, 95, 2, 17},
    {"20066::Weak Tap #2", 80, 95, 0.9, 18},
    {"20067::Normal Tap #2", 93, 55, 5, 19},
    {"20068::Asystole", 91, 90, 2, 20},
    {"20069::Low Freq 1", 80, 75, 1, 21},
    {"20070::Low Freq 2", 70, 75, 1, 22},
    {"20071::Slow Tap", 80, 75, 1, 23},
    {"20072::Customize", 0, 0, 0, CPresets::kCustomID},
}};

}  // namespace

CPresets::CPresets() {
    for (size_t i = 0; i < kPresets.size(); ++i)
        plat::PassOver([&] { names_[i] = host::TranslateText("Pelmo2", kPresets[i].text); });
    presets_ = std::make_shared<plat::Collection<std::string>>();
    for (const std::string& name : names_) plat::PassOver([&] { (void)presets_->Add(name); });
}

const std::shared_ptr<plat::Collection<std::string>>& CPresets::Presets() {
    if (!presets_) presets_ = std::make_shared<plat::Collection<std::string>>();
    return presets_;
}

std::string CPresets::DefaultPresetName() const { return names_[0]; }

void CPresets::SetSpO2ConfigByPreset(const std::string& name, CSpO2SimulationConfig& config) const {
    for (int32_t position = 1; position <= kCount; ++position) {
        if (names_[static_cast<size_t>(position - 1)] == name) {
            Apply(position, config);
            return;
        }
    }
}

void CPresets::SetSpO2ConfigById(int32_t presetId, CSpO2SimulationConfig& config) const {
    if (int32_t position = PositionOfId(presetId)) Apply(position, config);
}

int32_t CPresets::PositionOfId(int32_t presetId) {
    for (size_t i = 0; i < kPresets.size(); ++i)
        if (kPresets[i].id == presetId) return static_cast<int32_t>(i + 1);
    return 0;
}

std::string CPresets::NameOfId(int32_t presetId) const {
    int32_t position = PositionOfId(presetId);
    return position ? names_[static_cast<size_t>(position - 1)] : std::string();
}

std::string_view CPresets::PresetText(int32_t presetId) {
    int32_t position = PositionOfId(presetId);
    return position ? kPresets[static_cast<size_t>(position - 1)].text : std::string_view();
}

void CPresets::Apply(int32_t position, CSpO2SimulationConfig& config) const {
    const Preset& preset = kPresets[static_cast<size_t>(position - 1)];
    if (preset.id == kCustomID) {
        config.SetSpO2(config.CustomSpO2());
        config.SetBPM(config.CustomBPM());
        config.SetPulseAmplitude(config.CustomPulseAmplitude());
    } else {
        config.SetSpO2(preset.spo2);
        config.SetBPM(preset.bpm);
        config.SetPulseAmplitude(plat::NumberToText(preset.amplitude));
    }
    config.SetSimulationID(preset.id);
}

}  // namespace plugin
