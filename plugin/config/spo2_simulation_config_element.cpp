// CSpO2SimulationConfig in the host's element tree: "PlugInData" with
// "PluginSetup" and "TestGuideSettings".

#include <algorithm>

#include "platform/values/numfmt.h"
#include "platform/values/pass_over.h"
#include "plugin/config/checked_number.h"
#include "plugin/config/presets.h"
#include "plugin/config/spo2_simulation_config.h"

namespace plugin {

namespace {

std::string WholeText(int32_t value) { return std::to_string(value); }

const char* BoolText(bool value) { return value ? "True" : "False"; }

void Append(host::IXmlElement& parent, const host::XmlElementPtr& child) {
    if (child) parent.AppendChild(child);
}

}  // namespace

host::XmlElementPtr CSpO2SimulationConfig::Save(host::IXmlDocument& document) const {
    host::XmlElementPtr data = document.CreateElement("PlugInData");
    plat::PassOver([&] { Append(*data, SavePluginSetup(document)); });
    plat::PassOver([&] {
        Append(*data, SaveTestGuideSettings(document, (enableBtnFlags_ & kEnableSkip) != 0,
                                            (enableBtnFlags_ & kEnableNA) != 0));
    });
    return data;
}

host::XmlElementPtr CSpO2SimulationConfig::SavePluginSetup(host::IXmlDocument& document) const {
    host::XmlElementPtr setup = document.CreateElement("PluginSetup");
    // A custom make travels whole, so that the sequence carries its R-curve
    // to another computer; a built-in make travels as its TLC.
    const bool custom = HasCustomMake();
    if (custom) {
        plat::PassOver([&] {
            const makes::COximeterMake& make = *currentMake_;
            host::XmlElementPtr element = document.CreateElement("OximeterMake");
            element->AddChild("OximeterMakeName", make.Name());
            element->AddChild("File", make.File());
            element->AddChild("RDC", WholeText(make.RedDC()));
            element->AddChild("IRDC", WholeText(make.IRDC()));
            element->AddChild("IRAC", WholeText(make.IRAC()));
            element->AddChild("LightLevel", WholeText(make.LightLevel()));
            element->AddChild("TLC", WholeText(make.TLC()));
            if (make.RCurve()) {
                for (const makes::CRCurveElementPtr& point : *make.RCurve()) {
                    host::XmlElementPtr p = element->AddChild("RCurveElement", "");
                    p->SetAttribute("SpO2Value", WholeText(point->spo2()));
                    p->SetAttribute("RValue", point->rvalue());
                }
            }
            setup->AppendChild(element);
        });
    }
    setup->AddChild("OximeterIndex", WholeText(oximeterMake_));
    setup->AddChild("SimulationType", WholeText(simulationType_));
    setup->AddChild("UploadRCurve", uploadRCurve_ ? "1" : "0");
    setup->AddChild("SimulationID", WholeText(simulationId_));
    if (simulationId_ == CPresets::kCustomID) {
        setup->AddChild("BPMSettings", WholeText(bpm_));
        setup->AddChild("SpO2Settings", WholeText(spo2_));
        setup->AddChild("PulseAmplitudeSettings", pulseAmplitude_);
    }
    if (!custom) setup->AddChild("TLC", WholeText(GetTlc()));
    return setup;
}

host::XmlElementPtr CSpO2SimulationConfig::SaveTestGuideSettings(host::IXmlDocument& document, bool skip,
                                                                 bool na) const {
    host::XmlElementPtr settings = document.CreateElement("TestGuideSettings");
    host::XmlElementPtr button = settings->AddChild("EnableBtn", "");
    button->SetAttribute("Skip", BoolText(skip));
    button->SetAttribute("NA", BoolText(na));
    return settings;
}

void CSpO2SimulationConfig::Load(const host::IXmlElement& element, const plat::Variant&) {
    // Loaded user data is never overwritten by the plug-in defaults.
    readFromRegStatus_ = true;
    std::shared_ptr<host::IXmlNodeList> children;
    plat::PassOver([&] { children = element.ChildNodes(); });
    if (!children) return;
    for (int32_t i = 0; i < children->Count(); ++i) {
        host::XmlElementPtr child = children->ElementAt(i);
        if (!child) continue;
        const std::string name = child->Name();
        if (name == "PluginSetup") plat::PassOver([&] { LoadPluginSetup(*child); });
        else if (name == "TestGuideSettings") plat::PassOver([&] { LoadTestGuideSettings(*child); });
    }
}

void CSpO2SimulationConfig::LoadTestGuideSettings(const host::IXmlElement& element) {
    int32_t flags = 0;
    auto children = element.ChildNodes();
    for (int32_t i = 0; i < children->Count(); ++i) {
        host::XmlElementPtr child = children->ElementAt(i);
        if (!child || child->Name() != "EnableBtn") continue;
        // Several button elements combine; one flag never counts twice.
        if (child->GetAttribute("Skip") == "True") flags |= kEnableSkip;
        if (child->GetAttribute("NA") == "True") flags |= kEnableNA;
    }
    enableBtnFlags_ = flags;
}

void CSpO2SimulationConfig::LoadPluginSetup(const host::IXmlElement& element) {
    host::XmlElementPtr carried;
    std::optional<int32_t> carriedMakeTlc;
    auto children = element.ChildNodes();
    for (int32_t i = 0; i < children->Count(); ++i) {
        host::XmlElementPtr child = children->ElementAt(i);
        if (!child) continue;
        const std::string name = child->Name();
        const std::string text = child->Text();
        if (name == "OximeterMake") {
            carried = child;
        } else if (name == "OximeterIndex") {
            if (auto v = CheckedWholeNumber(text)) oximeterMake_ = *v;
        } else if (name == "SimulationType") {
            if (auto v = CheckedWholeNumber(text); v && (*v == 1 || *v == 2)) simulationType_ = *v;
        } else if (name == "UploadRCurve") {
            if (auto v = CheckedWholeNumber(text)) uploadRCurve_ = *v == 1;
        } else if (name == "SimulationID") {
            if (auto v = CheckedWholeNumber(text); v && *v >= 0 && *v <= CPresets::kCustomID) simulationId_ = *v;
        } else if (name == "BPMSettings") {
            if (auto v = CheckedWholeNumber(text)) bpm_ = *v;
        } else if (name == "SpO2Settings") {
            if (auto v = CheckedWholeNumber(text)) spo2_ = *v;
        } else if (name == "PulseAmplitudeSettings") {
            if (auto v = CheckedNumber(text)) pulseAmplitude_ = plat::NumberToText(*v);
        } else if (name == "TLC") {
            // The TLC belongs to the make selected at this point of the data:
            // the carried make when it came first under a custom index (it is
            // taken only below), else the make that SetTlc finds now.
            if (auto v = CheckedWholeNumber(text)) {
                const int32_t level = std::clamp(*v, 0, 4095);
                if (carried && oximeterMake_ >= kFirstCustomMake)
                    carriedMakeTlc = level;
                else
                    SetTlc(level);
            }
        }
    }

    // The carried make matters only for a custom index: under a built-in
    // index it is neither questioned nor written. A custom index left without
    // a make (none carried, not taken, save-as refused) falls back.
    currentMake_.reset();
    if (oximeterMake_ >= kFirstCustomMake) {
        // Only the saved data names the make the test had: the name held
        // before loading (the template's, a built-in make's) was never its.
        std::string wanted;
        if (carried) {
            plat::PassOver([&] {
                if (auto name = carried->FindElement("OximeterMakeName")) wanted = name->Text();
            });
            plat::PassOver([&] { LoadEmbeddedMake(*carried); });
        }
        if (!currentMake_) {
            FallBackToBuiltInMake();
            TellMakeFallBack(wanted);
        } else {
            oximeterMakeName_ = currentMake_->Name();
        }
    } else if (oximeterMake_ < 0) {
        FallBackToBuiltInMake();
    }
    if (carriedMakeTlc && currentMake_) SetTlc(*carriedMakeTlc);

    plat::PassOver([&] {
        CPresets presets;
        presetName_ = presets.NameOfId(simulationId_);
        // The expected values are the preset's own, not those of the clone loaded into.
        if (simulationId_ != CPresets::kCustomID) presets.SetSpO2ConfigById(simulationId_, *this);
    });
    if (simulationId_ == CPresets::kCustomID) {
        customSpO2_ = spo2_;
        customBpm_ = bpm_;
        customPulseAmplitude_ = pulseAmplitude_;
    }
}

}  // namespace plugin
