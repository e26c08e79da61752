// Add, Delete and Send of the main window; the upload itself is an
// UploadRun (upload_run.h).
#include <array>
#include <filesystem>

#include "editor/frm_create_rcurve.h"
#include "editor/frm_custom_rcurve.h"
#include "editor/make_checks.h"
#include "host/translate_text.h"
#include "platform/com/fs.h"
#include "platform/ui/msgbox.h"
#include "platform/values/numfmt.h"
#include "platform/values/pass_over.h"
#include "dialogs/form_captions.h"

namespace editor {

namespace {

constexpr const char* kSection = dialogs::kLanguageSection;

constexpr const char* kSaveTitle = "21021::Save";
constexpr const char* kDeleteTitle = "21025::Delete Oximeter";

int32_t Message(std::string_view text, int32_t style, std::string_view title) {
    return plat::ui::MsgBox(host::TranslateText(kSection, text), style, host::TranslateText(kSection, title));
}

// A light-value box passes the question before Add: filled and below 4096.
bool FieldPasses(const plat::ui::TextBox& box) {
    if (!IsValueOK(box.Text())) return false;
    return plat::RoundToLong(makes::ValText(box.Text())) <= frmCustomRcurve::kMaxLightValue;
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
        cmdSave.SetEnabled(false);
        CreateNewOximeter();
        return;
    }
    if (key != "Delete" || !m_CurrentMake) return;
    std::string path;
    plat::PassOver([&] { path = makes::GetMakesDirectory(makes::kRegistryKey) + m_CurrentMake->File(); });
    if (!m_CurrentMake->File().empty() && plat::fs::IsReadOnly(path)) {
        Message("21084::User can not delete pre defined custom R-Curves.", plat::ui::vbOKOnly | plat::ui::vbCritical,
                kDeleteTitle);
        return;
    }
    DeleteCurrentOximeter();
    if (cmbCustomRcurve.ListCount() == 0) SetMakeControlsState(false);
    cmdSave.SetEnabled(ShownMakeUnwritten());
}

void frmCustomRcurve::RestoreFromMake(int32_t from) {
    if (!m_CurrentMake) return;
    const auto& make = *m_CurrentMake;
    plat::PassOver([&] {
        const std::array<std::pair<plat::ui::TextBox*, int32_t>, 4> fields{
            {{&txtRDC, make.RedDC()}, {&txtIRDC, make.IRDC()}, {&txtIRAC, make.IRAC()}, {&txtTLC, make.TLC()}}};
        for (int32_t i = from; i < 4; ++i) {
            const auto& [box, value] = fields[static_cast<std::size_t>(i)];
            box->SetText(std::to_string(value));
        }
    });
    FillRValueGrid();
    plat::PassOver([&] { cmbLightLevel.SetListIndex(make.LightLevel() - 1); });
}

void frmCustomRcurve::CreateNewOximeter() {
    m_CurrentMake = std::make_shared<makes::COximeterMake>();
    auto dialog = std::make_shared<frmCreateRcurve>();
    bool cancelled = true;
    plat::PassOver([&] {
        dialog->Init(m_Makes, m_CurrentMake);
        dialog->Show(plat::ui::ShowMode::Modal);
        cancelled = dialog->CancelClicked();
    });
    plat::PassOver([&] { dialog->Unload(); });

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
        cmdSave.SetEnabled(ShownMakeUnwritten());
        return;
    }

    SetOximeterMake();
    bool written = false;
    plat::PassOver([&] {
        makes::OximeterMakePtr stored = make;
        written = makes::SaveMakesFile(stored, make->File(), makes::kRegistryKey) && stored == make;
    });
    plat::PassOver([&] {
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
    plat::PassOver([&] { path = makes::GetMakesDirectory(makes::kRegistryKey) + m_CurrentMake->File(); });
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
        plat::PassOver([&] {
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
    plat::PassOver([&] {
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

void frmCustomRcurve::SetSendingState(bool sending) {
    for (plat::ui::TextBox* box : {&txtRDC, &txtIRAC, &txtIRDC, &txtTLC}) box->SetLocked(sending);
    cmbCustomRcurve.SetLocked(sending);
    cmbLightLevel.SetLocked(sending);
    tliRValue.SetEnabled(!sending);
    cmdUpload.SetEnabled(!sending);
    tbrmakeAction.SetEnabled(!sending);
}

void frmCustomRcurve::cmdUpload_Click() {
    if (!m_CurrentMake || upload_.Active() || !EndCellEdit()) return;

    if (IsSettingsGotChanged()) {
        // Unsaved edits go only as stored: the checks of Save, then the save itself.
        if (!CheckSettings()) return;
        const std::string question =
            host::TranslateText(kSection, "21049::R-Curve is not saved before sending to Pelmo Q5.") + "\r\n\r\n" +
            host::TranslateText(kSection,
                                "21050::Click Yes - To send custom R-Curve to Pelmo Q5 after saving the "
                                "changes.") +
            "\r\n" +
            host::TranslateText(kSection, "21051::Click No - To exit from sending custom R-Curve to Pelmo Q5.");
        if (plat::ui::MsgBox(question, plat::ui::vbYesNo | plat::ui::vbQuestion,
                             host::TranslateText(kSection, kSaveTitle)) != plat::ui::vbYes)
            return;
        if (SaveOximeter() != SaveResult::Saved) return;
        cmdSave.SetEnabled(false);
    }
    upload_.Run(m_CurrentMake);
}

}  // namespace editor
