// Add, Delete and Send of the main window.
//
// Send drives the driver control, added by ProgID for the one upload and
// removed after it. The driver tells its failures only through its event,
// raised from inside the call that failed; the road keeps the loop running
// between the calls, so that Cancel and those events act, and tests its
// cancel flag before each next call.
#include <array>
#include <filesystem>
#include <functional>
#include <optional>

#include "driver/vti_interface.h"
#include "editor/frm_create_rcurve.h"
#include "editor/frm_custom_rcurve.h"
#include "editor/make_checks.h"
#include "makes/step.h"
#include "platform/com/fs.h"
#include "platform/loop/message_loop.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/object_control.h"
#include "platform/values/abort_error.h"
#include "platform/values/numfmt.h"
#include "plugin/config/dialogs/form_captions.h"
#include "plugin/config/dialogs/frm_upload_location.h"

namespace editor {

namespace {

constexpr const char* kModule = "frmCustomRcurve";
constexpr const char* kSaveTitle = "21021::Save";
constexpr const char* kDeleteTitle = "21025::Delete Oximeter";
constexpr const char* kSendTitle = "21052::Send";
constexpr const char* kSendFailed = "21053::An error was encoutered while sending the oximeter details to Pelmo Q5.";

std::string Tr(std::string_view text) { return dialogs::TranslatePelmo2(text); }

int32_t Message(std::string_view text, int32_t style, std::string_view title) {
    return plat::ui::MsgBox(Tr(text), style, Tr(title));
}

// A light-value box passes the question before Add: filled and below 4096.
bool FieldPasses(const plat::ui::TextBox& box) {
    if (!IsValueOK(box.Text())) return false;
    return plat::RoundToLong(makes::ValText(box.Text())) <= frmCustomRcurve::kMaxLightValue;
}

// The make's R values for SpO2 50 to 100, as its file holds them; a step the
// curve lacks goes as 0.
std::shared_ptr<drv::KeyedCollection> RValuesToSend(const makes::COximeterMake& make) {
    auto values = std::make_shared<drv::KeyedCollection>();
    for (int32_t spo2 = frmCustomRcurve::kFirstSpO2; spo2 <= frmCustomRcurve::kLastSpO2; ++spo2) {
        std::string rvalue = "0";
        if (const auto& curve = make.RCurve()) {
            for (const auto& point : *curve) {
                if (point && point->spo2() == spo2) rvalue = point->rvalue();
            }
        }
        (void)values->Add(plat::Variant(rvalue));
    }
    return values;
}

}  // namespace

// ---- Add and Delete ----

void frmCustomRcurve::tbrMakeAction_ButtonClick(plat::ui::ToolbarButton& button) {
    const std::string key = button.Key();
    if (!EndCellEdit()) return;
    if (key == "Add") {
        if (IsSettingsGotChanged()) {
            // The unsaved edits are asked about only when they could be stored;
            // otherwise the failing field and all after it get their stored values back.
            const std::array<const plat::ui::TextBox*, 4> boxes{&txtRDC, &txtIRDC, &txtIRAC, &txtTLC};
            int32_t failed = -1;
            for (int32_t i = 0; i < 4 && failed < 0; ++i)
                if (!FieldPasses(*boxes[static_cast<std::size_t>(i)])) failed = i;
            if (failed < 0 && !IsGridOK(tliRValue, kRValueCol)) failed = 4;
            if (failed >= 0) {
                RestoreFromMake(failed);
            } else if (Message("21058::Some of the settings have been changed. Do you want to save them before "
                               "adding new oximeter make?",
                               plat::ui::vbYesNo | plat::ui::vbInformation, kSaveTitle) == plat::ui::vbYes) {
                // A save that stored nothing keeps the edits shown, and no new make is begun.
                if (SaveOximeter() != SaveResult::Saved) return;
            } else {
                RestoreFromMake(0);
            }
        }
        makes::RunStep(kModule, "tbrMakeAction_ButtonClick", __LINE__, [&] { cmdSave.SetEnabled(false); });
        CreateNewOximeter();
        return;
    }
    if (key != "Delete" || !m_CurrentMake) return;
    std::string path;
    makes::RunStep(kModule, "tbrMakeAction_ButtonClick", __LINE__,
                   [&] { path = makes::GetMakesDirectory(makes::kRegistryKey) + m_CurrentMake->File(); });
    if (!m_CurrentMake->File().empty() && plat::fs::IsReadOnly(path)) {
        Message("21084::User can not delete pre defined custom R-Curves.", plat::ui::vbOKOnly | plat::ui::vbCritical,
                kDeleteTitle);
        return;
    }
    DeleteCurrentOximeter();
    if (cmbCustomRcurve.ListCount() == 0) SetMakeControlsState(false);
    makes::RunStep(kModule, "tbrMakeAction_ButtonClick", __LINE__, [&] { cmdSave.SetEnabled(ShownMakeUnwritten()); });
}

void frmCustomRcurve::RestoreFromMake(int32_t from) {
    if (!m_CurrentMake) return;
    const auto& make = *m_CurrentMake;
    makes::RunStep(kModule, "RestoreFromMake", __LINE__, [&] {
        const std::array<std::pair<plat::ui::TextBox*, int32_t>, 4> fields{
            {{&txtRDC, make.RedDC()}, {&txtIRDC, make.IRDC()}, {&txtIRAC, make.IRAC()}, {&txtTLC, make.TLC()}}};
        for (int32_t i = from; i < 4; ++i) {
            const auto& [box, value] = fields[static_cast<std::size_t>(i)];
            box->SetText(std::to_string(value));
        }
    });
    FillRValueGrid();
    makes::RunStep(kModule, "RestoreFromMake", __LINE__, [&] { cmbLightLevel.SetListIndex(make.LightLevel() - 1); });
}

void frmCustomRcurve::CreateNewOximeter() {
    m_CurrentMake = std::make_shared<makes::COximeterMake>();
    auto dialog = std::make_shared<frmCreateRcurve>();
    bool cancelled = true;
    makes::RunStep(kModule, "CreateNewOximeter", __LINE__, [&] {
        dialog->Init(m_Makes, m_CurrentMake);
        dialog->Show(plat::ui::ShowMode::Modal);
        cancelled = dialog->CancelClicked();
    });
    makes::RunStep(kModule, "CreateNewOximeter", __LINE__, [&] { dialog->Unload(); });

    auto make = m_CurrentMake;
    // The name question refuses a listed name; a make the list does not take is not added.
    if (!cancelled && !m_Makes->Add(make, make->Name())) cancelled = true;
    if (cancelled) {
        // The make shown before, or none when the picker names no listed make.
        const std::string shown = cmbCustomRcurve.Text();
        m_CurrentMake = m_Makes->Exists(shown) ? m_Makes->Item(shown) : nullptr;
        if (!m_CurrentMake) {
            ClearOximeterDetails();
            FillRValueGrid();
        }
        makes::RunStep(kModule, "CreateNewOximeter", __LINE__, [&] { cmdSave.SetEnabled(ShownMakeUnwritten()); });
        return;
    }

    SetOximeterMake();
    bool written = false;
    makes::RunStep(kModule, "CreateNewOximeter", __LINE__, [&] {
        makes::OximeterMakePtr stored = make;
        written = makes::SaveMakesFile(stored, make->File(), makes::kRegistryKey) && stored == make;
    });
    makes::RunStep(kModule, "CreateNewOximeter", __LINE__, [&] {
        cmbCustomRcurve.AddItem(make->Name());
        cmbCustomRcurve.SetListIndex(cmbCustomRcurve.NewIndex());
    });
    SetMakeControlsState(true);
    if (!written) {
        // The readings stay shown, and the make counts as unsaved until it is saved.
        unwritten_.insert(make);
        Message("21018::An unknown error occurred while saving the oximeter details. Please try again later.",
                plat::ui::vbOKOnly | plat::ui::vbCritical, kSaveTitle);
        UpdateSave();
    }
}

void frmCustomRcurve::DeleteCurrentOximeter() {
    if (Message("21026::Are you sure you want to delete this oximeter?", plat::ui::vbYesNo | plat::ui::vbQuestion,
                kDeleteTitle) != plat::ui::vbYes)
        return;
    std::string path;
    makes::RunStep(kModule, "DeleteCurrentOximeter", __LINE__,
                   [&] { path = makes::GetMakesDirectory(makes::kRegistryKey) + m_CurrentMake->File(); });
    bool deleted = false;
    if (!path.empty() && !m_CurrentMake->File().empty()) {
        if (plat::fs::IsReadOnly(path)) plat::fs::SetReadOnly(path, false);
        // A file that is gone already counts as deleted; anything else left at the path does not.
        std::error_code error;
        deleted = plat::fs::DeleteFile(path) ||
                  std::filesystem::symlink_status(path, error).type() == std::filesystem::file_type::not_found;
    } else {
        deleted = true;  // a make never written has no file to lose
    }
    if (!deleted) {
        Message("21085::The oximeter could not be deleted.", plat::ui::vbOKOnly | plat::ui::vbCritical, kDeleteTitle);
        return;
    }
    const std::string name = m_CurrentMake->Name();
    // No question about the edits of a make that is gone.
    unwritten_.erase(m_CurrentMake);
    m_CurrentMake = nullptr;
    RemoveOximeter(name);
    if (cmbCustomRcurve.ListCount() > 0) {
        makes::RunStep(kModule, "DeleteCurrentOximeter", __LINE__, [&] {
            if (cmbCustomRcurve.ListIndex() == 0) cmbCustomRcurve.SetListIndex(-1);
            cmbCustomRcurve.SetListIndex(0);
        });
    } else {
        ClearGrid();
        ClearOximeterDetails();
        FillRValueGrid();
    }
    Message("21027::The oximeter was successfully deleted.", plat::ui::vbOKOnly | plat::ui::vbInformation, kDeleteTitle);
}

void frmCustomRcurve::RemoveOximeter(const std::string& name) {
    RemoveComboItem(cmbCustomRcurve, name);
    makes::RunStep(kModule, "RemoveOximeter", __LINE__, [&] {
        if (m_Makes->Exists(name)) m_Makes->Remove(name);
    });
}

void frmCustomRcurve::RemoveComboItem(plat::ui::ComboBox& combo, const std::string& text) {
    for (int32_t i = 0; i < combo.ListCount(); ++i) {
        if (combo.List(i) == text) {
            combo.RemoveItem(i);
            return;
        }
    }
}

// ---- Send ----

void frmCustomRcurve::Pump() { plat::MessageLoop::Current().DoEventsNoWait(); }

void frmCustomRcurve::SetSendingState(bool sending) {
    makes::RunStep(kModule, "cmdUpload_Click", __LINE__, [&] {
        for (plat::ui::TextBox* box : {&txtRDC, &txtIRAC, &txtIRDC, &txtTLC}) box->SetLocked(sending);
        cmbCustomRcurve.SetLocked(sending);
        cmbLightLevel.SetLocked(sending);
        tliRValue.SetEnabled(!sending);
        cmdUpload.SetEnabled(!sending);
        tbrmakeAction.SetEnabled(!sending);
    });
}

bool frmCustomRcurve::CreateVTIControl() {
    makes::RunStep(kModule, "CreateVTIControl", __LINE__, [&] {
        mVTIControl = Controls().Add(drv::kXVTIControlProgId, drv::kVTIControlName);
        mVTIControl->SetVisible(false);  // the driver draws nothing
        mVTIControl->OnObjectEvent = [this](const std::string& name, std::vector<plat::Variant>& params) {
            if (name != drv::kCommunicationErrorEvent) return;
            if (auto error = drv::EventError(params)) VTICommunicationError(*error);
        };
    });
    return mVTIControl != nullptr;
}

void frmCustomRcurve::RemoveVTIControl() {
    makes::RunStep(kModule, "RemoveVTIControl", __LINE__, [&] {
        if (Controls().Find(drv::kVTIControlName)) Controls().Remove(drv::kVTIControlName);
    });
    mVTIControl = nullptr;
}

void frmCustomRcurve::VTICommunicationError(const drv::ICPelmo2VTIError& error) {
    // What the clean-up stirs up, and what follows the user's own cancel, is no outcome.
    if (cleaningUp_ || userCancel_) return;
    const int32_t status = error.ErrorNumber();
    if (status == drv::ecsOK || status == drv::ecsPerformed) return;
    m_Error = true;
    m_Cancel = true;
    if (status == drv::ecsMTINotFound) m_Error5 = true;
}

void frmCustomRcurve::CancelUpload() {
    m_Cancel = true;
    userCancel_ = true;
    if (auto vti = m_VTI) makes::RunStep(kModule, "cmdClose_Click", __LINE__, [&] { vti->SetUploadCancel(true); });
    Pump();
}

void frmCustomRcurve::cmdUpload_Click() {
    m_Error5 = false;
    if (!m_CurrentMake || uploading_ || !EndCellEdit()) return;

    if (IsSettingsGotChanged()) {
        // Unsaved edits go only as stored: the checks of Save, then the save itself.
        if (!CheckSettings()) return;
        const std::string question = Tr("21049::R-Curve is not saved before sending to Pelmo Q5.") + "\r\n\r\n" +
                                     Tr("21050::Click Yes - To send custom R-Curve to Pelmo Q5 after saving the "
                                        "changes.") +
                                     "\r\n" + Tr("21051::Click No - To exit from sending custom R-Curve to Pelmo Q5.");
        if (plat::ui::MsgBox(question, plat::ui::vbYesNo | plat::ui::vbQuestion, Tr(kSaveTitle)) != plat::ui::vbYes)
            return;
        if (SaveOximeter() != SaveResult::Saved) return;
        makes::RunStep(kModule, "cmdUpload_Click", __LINE__, [&] { cmdSave.SetEnabled(false); });
    }
    const makes::OximeterMakePtr make = m_CurrentMake;

    // Sending state.
    uploading_ = true;
    m_Cancel = false;
    userCancel_ = false;
    cleaningUp_ = false;
    m_Error = false;
    makes::RunStep(kModule, "cmdUpload_Click", __LINE__, [&] {
        cmdSave.SetEnabled(false);
        cmdClose.SetCaption(Tr("22007::&Cancel"));
        lblUploading.SetCaption(Tr("21056::Searching for Pelmo Q5..."));
        lblUploading.SetVisible(true);
        xtgUploading.SetVisible(true);
        xtgUploading.SetRunning(true);
    });
    Pump();
    SetSendingState(true);
    makes::RunStep(kModule, "cmdUpload_Click", __LINE__, [&] { cmdClose.SetEnabled(false); });
    Pump();

    // A driver step: skipped once the road is to stop, which the driver then learns.
    auto step = [&](const char* what, const std::function<void(drv::IXVTIControl&)>& call) {
        if (m_Cancel || !m_VTI) {
            if (m_VTI) makes::RunStep(kModule, what, __LINE__, [&] { m_VTI->SetUploadCancel(m_Cancel); });
            return false;
        }
        auto vti = m_VTI;  // held: an event handler may end the road meanwhile
        makes::RunStep(kModule, what, __LINE__, [&] { call(*vti); });
        Pump();
        return true;
    };

    if (CreateVTIControl()) {
        Pump();
        makes::RunStep(kModule, "cmdUpload_Click", __LINE__, [&] { m_VTI = mVTIControl->ObjectAs<drv::IXVTIControl>(); });
        Pump();
    }
    if (!m_VTI) {
        // No driver: nothing can be sent.
        m_Error = true;
        m_Cancel = true;
    } else {
        auto vti = m_VTI;
        makes::RunStep(kModule, "InitVTI", __LINE__, [&] { vti->InitVTI(); });
        Pump();
        makes::RunStep(kModule, "EndRemote", __LINE__, [&] {
            vti->SetUploadCancel(m_Cancel);
            vti->EndRemote();  // a session the driver still holds
        });
        Pump();
    }

    std::optional<int32_t> slot;
    const bool started = step("StartRemote", [&](drv::IXVTIControl& vti) {
        vti.StartRemote();
        cmdClose.SetEnabled(true);  // from now on it is the Cancel button
    });
    if (started && step("cmdUpload_Click", [&](drv::IXVTIControl&) { lblUploading.SetCaption(Tr("21012::Sending...")); })) {
        makes::RunStep(kModule, "cmdUpload_Click", __LINE__, [&] {
            slot = dialogs::AskUploadSlot(*make);
            if (!slot) {
                m_Cancel = true;
                userCancel_ = true;
            }
        });
        Pump();
        const auto values = RValuesToSend(*make);
        if (step("LoadMakeParameters", [&](drv::IXVTIControl& vti) {
                (void)vti.LoadMakeParameters(*slot, make->Name(), make->RedDC(), make->IRDC(), make->IRAC(),
                                             values.get());
            }))
            step("SetTLC", [&](drv::IXVTIControl& vti) { (void)vti.SetTLC(make->TLC()); });
    }

    // Clean-up.
    cleaningUp_ = true;
    if (auto vti = m_VTI) {
        makes::RunStep(kModule, "cmdUpload_Click", __LINE__, [&] { vti->SetUploadCancel(false); });
        makes::RunStep(kModule, "cmdUpload_Click", __LINE__, [&] { vti->ResetInstrument(); });
        makes::RunStep(kModule, "cmdUpload_Click", __LINE__, [&] { vti->EndRemote(); });
    }
    RemoveVTIControl();
    m_VTI = nullptr;

    // Restore.
    makes::RunStep(kModule, "cmdUpload_Click", __LINE__, [&] {
        cmdClose.SetCaption(Tr("21009::&Close"));
        cmdClose.SetEnabled(true);
        lblUploading.SetVisible(false);
        xtgUploading.SetVisible(false);
        xtgUploading.SetRunning(false);
    });
    SetSendingState(false);
    uploading_ = false;
    cleaningUp_ = false;
    Pump();

    if (m_Error) {
        Message(kSendFailed, plat::ui::vbOKOnly | plat::ui::vbCritical, kSendTitle);
    } else if (!m_Cancel) {
        Message("21054::The oximeter details were successfully sent to Pelmo Q5.",
                plat::ui::vbOKOnly | plat::ui::vbInformation, kSendTitle);
    }
}

}  // namespace editor
