#include "plugin/config/spo2_simulation_config.h"

#include "platform/values/pass_over.h"
#include "platform/values/text.h"
#include "plugin/config/builtin_makes.h"
#include "plugin/config/checked_number.h"
#include "plugin/config/config_dialog_maker.h"
#include "plugin/config/presets.h"

namespace plugin {

CSpO2SimulationConfig::CSpO2SimulationConfig() { SetDefaults(); }

void CSpO2SimulationConfig::SetDefaults() {
    spo2_ = 98;
    bpm_ = 55;
    pulseAmplitude_ = "5";
    customSpO2_ = 98;
    customBpm_ = 75;
    customPulseAmplitude_ = "5";
    simulationType_ = 1;
    plat::PassOver([&] {
        CPresets presets;
        presetName_ = presets.DefaultPresetName();
        simulationId_ = presets.DefaultPresetID();
    });
    tlc_ = kDefaultTlc;
}

void CSpO2SimulationConfig::SetPluginSetup(const PluginSetupPtr& setup) {
    mcpSetup_ = setup;
    SetDefaults();
}

void CSpO2SimulationConfig::FallBackToBuiltInMake() {
    currentMake_.reset();
    oximeterMake_ = 0;
    oximeterMakeName_ = BuiltInMakeName(0);
    uploadRCurve_ = false;
}

makes::OximeterMakePtr CSpO2SimulationConfig::FindMake(const std::string& name) const {
    if (!makes_ || name.empty()) return nullptr;
    for (const makes::OximeterMakePtr& make : *makes_)
        if (make && plat::EqualsNoCase(make->Name(), name)) return make;
    return nullptr;
}

makes::MakeListPtr CSpO2SimulationConfig::CloneMakes() const {
    auto copy = std::make_shared<makes::MakeList>();
    if (!makes_) return copy;
    for (const makes::OximeterMakePtr& make : *makes_) {
        plat::PassOver([&] {
            makes::OximeterMakePtr clone = make->Clone();
            (void)copy->Add(clone, clone->Name());
        });
    }
    return copy;
}

void CSpO2SimulationConfig::ReadPluginDefaults() {
    // Registry values go through the checked conversion: a missing value
    // reads as 0 / "" / no upload, one that is no number keeps the field.
    const std::string_view key = makes::kRegistryKey;
    if (auto index = CheckedWholeNumber(GetRegistryString(key, kDefaultMakeLocation))) oximeterMake_ = *index;
    plat::PassOver([&] { oximeterMakeName_ = GetRegistryString(key, kDefaultCustomMakeName); });
    if (auto pref = CheckedWholeNumber(GetRegistryString(key, kDefaultDownloadPref))) uploadRCurve_ = *pref == 1;

    plat::PassOver([&] { makes_ = makes::ReadMakes(key); });

    currentMake_.reset();
    if (oximeterMake_ < 0) {
        FallBackToBuiltInMake();
    } else if (oximeterMake_ >= kFirstCustomMake) {
        // The library holds each name once (keys ignore letter case).
        currentMake_ = FindMake(oximeterMakeName_);
        if (!currentMake_) FallBackToBuiltInMake();
    }
}

std::shared_ptr<host::IConfigData> CSpO2SimulationConfig::Clone() const {
    auto clone = std::make_shared<CSpO2SimulationConfig>();
    // The template's configuration refreshes itself from the plug-in defaults
    // each time a test is made from it; it is never a const object.
    if (!readFromRegStatus_) const_cast<CSpO2SimulationConfig*>(this)->ReadPluginDefaults();
    // Every copy carries the flag, so that copied user data is never
    // overwritten by the defaults when the copy is cloned in turn.
    clone->readFromRegStatus_ = true;
    clone->CopyCloneData(this);
    return clone;
}

void CSpO2SimulationConfig::CopyCloneData(const CSpO2SimulationConfig* source) {
    if (!source) return;
    oximeterMake_ = source->OximeterMake();
    oximeterMakeName_ = source->OximeterMakeName();
    spo2_ = source->SpO2();
    bpm_ = source->BPM();
    pulseAmplitude_ = source->PulseAmplitude();
    presetName_ = source->PresetName();
    simulationId_ = source->SimulationID();
    uploadRCurve_ = source->UploadRCurve();
    customSpO2_ = source->CustomSpO2();
    customBpm_ = source->CustomBPM();
    customPulseAmplitude_ = source->CustomPulseAmplitude();
    simulationType_ = source->SimulationType();
    enableBtnFlags_ = source->EnableBtnFlags();
    // Only the selected built-in make's TLC travels, as only it is saved.
    if (oximeterMake_ >= 0 && oximeterMake_ < kFirstCustomMake) tlc_[static_cast<size_t>(oximeterMake_)] = source->GetTlc();
    makes_ = source->CloneMakes();
    currentMake_.reset();
    if (oximeterMake_ >= kFirstCustomMake) {
        currentMake_ = FindMake(oximeterMakeName_);
        if (!currentMake_) FallBackToBuiltInMake();
    }
    mcpSetup_ = source->GetPluginSetup();
}

int32_t CSpO2SimulationConfig::GetTlc() const {
    if (oximeterMake_ >= 0 && oximeterMake_ < kFirstCustomMake) return tlc_[static_cast<size_t>(oximeterMake_)];
    if (currentMake_) return currentMake_->TLC();
    return tlc_[0];
}

void CSpO2SimulationConfig::SetTlc(int32_t value) {
    if (oximeterMake_ >= 0 && oximeterMake_ < kFirstCustomMake) {
        tlc_[static_cast<size_t>(oximeterMake_)] = value;
    } else if (currentMake_) {
        currentMake_->SetTLC(value);
        plat::PassOver([&] {
            if (makes_ && makes_->Exists(currentMake_->Name())) makes_->Item(currentMake_->Name())->SetTLC(value);
        });
    } else {
        tlc_[0] = value;
    }
}

std::shared_ptr<host::IDialog> CSpO2SimulationConfig::CreateDialog() {
    // The view edits the configuration its owner test holds: no owner, no dialog.
    return NewConfigDialog(ParentTest());
}

}  // namespace plugin
