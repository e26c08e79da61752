// CSpO2SimulationConfig: the custom make carried in saved data, reconciled
// with the make files of this computer. Nothing in the make folder is
// replaced without the overwrite question, and nothing outside it is touched.

#include <filesystem>

#include "host/translate_text.h"
#include "platform/com/fs.h"
#include "platform/ui/msgbox.h"
#include "platform/values/numfmt.h"
#include "platform/values/pass_over.h"
#include "platform/values/text.h"
#include "plugin/config/checked_number.h"
#include "dialogs/make_file_name.h"
#include "plugin/config/config_trace.h"
#include "plugin/config/save_make_dialog_maker.h"
#include "plugin/config/spo2_simulation_config.h"

namespace plugin {

namespace {

constexpr const char* kSection = "Pelmo2";

// Exactly 51 points for SpO2 50, 51, ..., 100 in order.
bool HasMakeCurve(const makes::COximeterMake& make) {
    if (!make.RCurve() || make.RCurve()->Count() != makes::kCurvePoints) return false;
    int32_t expected = makes::kFirstSpO2;
    for (const makes::CRCurveElementPtr& point : *make.RCurve())
        if (!point || point->spo2() != expected++) return false;
    return true;
}

// A carried file name that may become a make file: one the save-make dialog
// would take, with the make extension.
bool IsUsableFileName(const std::string& file) {
    return dialogs::IsAcceptableMakeFileName(file) && dialogs::HasMakeExtension(file);
}

// Anything at the path, a dangling link included.
bool PathTaken(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::symlink_status(path, ec));
}

std::string MakeFolder() {
    std::string folder;
    plat::PassOver([&] { folder = makes::GetMakesDirectory(makes::kRegistryKey); });
    return folder;
}

}  // namespace

makes::OximeterMakePtr CSpO2SimulationConfig::ReadEmbeddedMake(const host::IXmlElement& element) {
    auto make = std::make_shared<makes::COximeterMake>();
    auto children = element.ChildNodes();
    for (int32_t i = 0; i < children->Count(); ++i) {
        host::XmlElementPtr child = children->ElementAt(i);
        if (!child) continue;
        const std::string name = child->Name();
        if (name == "File") {
            make->SetFile(child->Text());
        } else if (name == "OximeterMakeName") {
            make->SetName(child->Text());
        } else if (name == "RCurveElement") {
            // A point whose SpO2 is no number keeps 0 and so spoils the curve.
            auto point = std::make_shared<makes::CRCurveElement>();
            if (auto spo2 = CheckedWholeNumber(child->GetAttribute("SpO2Value"))) point->SetSpo2(*spo2);
            if (auto r = CheckedNumber(child->GetAttribute("RValue"))) point->SetRvalue(plat::NumberToText(*r));
            make->AddRCurveElement(point);
        } else {
            std::optional<int32_t> value = CheckedWholeNumber(child->Text());
            if (!value) continue;
            if (name == "RDC") make->SetRedDC(*value);
            else if (name == "IRDC") make->SetIRDC(*value);
            else if (name == "IRAC") make->SetIRAC(*value);
            else if (name == "LightLevel") make->SetLightLevel(*value);
            else if (name == "TLC") make->SetTLC(*value);
        }
    }
    makes::ClampMakeValues(make);
    return make;
}

bool CSpO2SimulationConfig::IsSameRCurve(const makes::COximeterMake& local, const makes::COximeterMake& carried) {
    const int32_t localCount = local.RCurve() ? local.RCurve()->Count() : 0;
    const int32_t carriedCount = carried.RCurve() ? carried.RCurve()->Count() : 0;
    if (localCount != carriedCount) return false;
    for (int32_t i = 1; i <= localCount; ++i) {
        const auto& a = local.RCurve()->Item(i);
        const auto& b = carried.RCurve()->Item(i);
        if (!a || !b || makes::ValText(a->rvalue()) != makes::ValText(b->rvalue())) return false;
    }
    return true;
}

bool CSpO2SimulationConfig::IsSameMake(const makes::COximeterMake& local, const makes::COximeterMake& carried) {
    return local.IRAC() == carried.IRAC() && local.IRDC() == carried.IRDC() &&
           local.LightLevel() == carried.LightLevel() && local.RedDC() == carried.RedDC() &&
           local.TLC() == carried.TLC() && IsSameRCurve(local, carried);
}

void CSpO2SimulationConfig::LoadEmbeddedMake(const host::IXmlElement& element) {
    makes::OximeterMakePtr carried = ReadEmbeddedMake(element);
    // A make that could not be a make file is not taken at all.
    if (!HasMakeCurve(*carried)) return;
    // Matching needs the local library; without it a local file could be replaced unasked.
    if (!makes_) plat::PassOver([&] { makes_ = makes::ReadMakes(makes::kRegistryKey); });

    const std::string name = carried->Name();
    const std::string file = carried->File();
    const bool usableName =
        !plat::Trim(name).empty() && makes::ValidateMakeName(name) && !plat::EqualsNoCase(name, makes::DefaultMakeName());
    const bool usableFile = IsUsableFileName(file);
    const std::string offeredFile = usableFile ? file : std::string();

    if (!usableName) {
        SaveMakeAs(offeredFile, "", carried);
        return;
    }
    if (makes::OximeterMakePtr local = FindMake(name)) {
        if (IsSameMake(*local, *carried)) {
            currentMake_ = local;
        } else if (local->File() == file) {
            if (plat::fs::IsReadOnly(MakeFolder() + local->File())) SaveMakeAs("", "", carried);
            else if (AskOverwriteMake()) OverwriteMake(local, carried);
            else SaveMakeAs("", "", carried);
        } else {
            SaveMakeAs(offeredFile, "", carried);
        }
        return;
    }
    bool fileMatch = false;
    if (makes_)
        for (const makes::OximeterMakePtr& make : *makes_)
            if (make && plat::EqualsNoCase(make->File(), file)) fileMatch = true;
    // A file of that name that is no make of the library (another program's,
    // or not a valid make) is never replaced unasked.
    if (fileMatch || !usableFile || PathTaken(MakeFolder() + file)) {
        SaveMakeAs("", name, carried);
        return;
    }
    TakeMake(carried);
}

bool CSpO2SimulationConfig::AskOverwriteMake() const {
    bool yes = false;
    plat::PassOver([&] {
        yes = plat::ui::MsgBox(
                  host::TranslateText(kSection,
                                      "21068::This oximeter make name already exists. Do you want to overwrite "
                                      "the data for this oximeter?"),
                  plat::ui::vbYesNo | plat::ui::vbQuestion,
                  host::TranslateText(kSection, "21022::Overwrite")) == plat::ui::vbYes;
    });
    return yes;
}

void CSpO2SimulationConfig::TellMakeFallBack(const std::string& wanted) const {
    std::string test;
    plat::PassOver([&] {
        if (auto owner = ParentTest())
            if (auto info = owner->Info()) test = info->Name();
    });
    plat::PassOver([&] {
        // Saved data without a make name has no name to quote.
        const std::string text =
            plat::Trim(wanted).empty()
                ? host::TranslateText(kSection,
                                      "21203::The test \"%%1\" could not keep its custom oximeter make, which had "
                                      "no name. It now uses the oximeter make \"%%2\".",
                                      {plat::Variant(test), plat::Variant(oximeterMakeName_)})
                : host::TranslateText(kSection,
                                      "21201::The test \"%%1\" could not keep its custom oximeter make \"%%2\". "
                                      "It now uses the oximeter make \"%%3\".",
                                      {plat::Variant(test), plat::Variant(wanted), plat::Variant(oximeterMakeName_)});
        plat::ui::MsgBox(text, plat::ui::vbOKOnly | plat::ui::vbExclamation,
                         host::TranslateText(kSection, "21202::Oximeter make"));
    });
}

void CSpO2SimulationConfig::OverwriteMake(const makes::OximeterMakePtr& local, const makes::OximeterMakePtr& carried) {
    // The file is replaced in one step by the carried data under the local
    // make's name; the old file stays whole when that fails.
    auto written = carried->Clone();
    written->SetName(local->Name());
    written->SetFile(local->File());
    WriteMakeFile(written);
    local->SetRCurve(carried->RCurve());
    local->SetFile(carried->File());
    local->SetIRAC(carried->IRAC());
    local->SetIRDC(carried->IRDC());
    local->SetLightLevel(carried->LightLevel());
    local->SetRedDC(carried->RedDC());
    local->SetTLC(carried->TLC());
    currentMake_ = local;
}

void CSpO2SimulationConfig::SaveMakeAs(const std::string& fileName, const std::string& makeName,
                                      const makes::OximeterMakePtr& carried) {
    std::string file = fileName;
    std::string name = makeName;
    for (;;) {
        std::shared_ptr<ISaveMakeDialog> dialog = NewSaveMakeDialog();
        bool accepted = false;
        if (dialog) {
            plat::PassOver([&] {
                dialog->Initialize(makes_, name, file);
                dialog->ShowModal();
                accepted = dialog->Response() == ISaveMakeDialog::kAccepted;
                if (accepted) {
                    name = dialog->OximeterName();
                    file = dialog->Filename();
                }
            });
            plat::PassOver([&] { dialog->Unload(); });
        }
        if (!accepted) break;
        // The dialog refuses the library's names and files, not other files
        // on disk: ask again rather than replace one.
        if (!IsUsableFileName(file) || PathTaken(MakeFolder() + file) || (makes_ && makes_->Exists(name))) {
            file.clear();
            continue;
        }
        carried->SetName(name);
        carried->SetFile(file);
        TakeMake(carried);
        return;
    }
    currentMake_.reset();
}

void CSpO2SimulationConfig::TakeMake(const makes::OximeterMakePtr& carried) {
    if (!makes_) makes_ = std::make_shared<makes::MakeList>();
    // The callers have made sure the name is free; never write a make that cannot be kept.
    if (makes_->Exists(carried->Name())) return;
    WriteMakeFile(carried);
    // Kept for this test even when the file could not be written.
    (void)makes_->Add(carried, carried->Name());
    currentMake_ = carried;
}

void CSpO2SimulationConfig::WriteMakeFile(makes::OximeterMakePtr make) const {
    const std::string file = make->File();
    bool written = false;
    plat::PassOver([&] { written = makes::SaveMakesFile(make, file, makes::kRegistryKey); });
    if (!written) ConfigTrace({"CSpO2SimulationConfig: make file not written", file});
}

}  // namespace plugin
