#include "editor/upload_run.h"

#include <optional>
#include <string>
#include <string_view>

#include "driver/vti_interface.h"
#include "editor/frm_custom_rcurve.h"
#include "host/translate_text.h"
#include "platform/loop/message_loop.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/object_control.h"
#include "platform/values/pass_over.h"
#include "dialogs/form_captions.h"
#include "dialogs/frm_upload_location.h"

namespace editor {

namespace {

constexpr const char* kSection = dialogs::kLanguageSection;

constexpr const char* kSendTitle = "21052::Send";

}  // namespace

void UploadRun::Pump() { plat::MessageLoop::Current().DoEventsNoWait(); }

void UploadRun::Run(makes::OximeterMakePtr make) {
    Begin();
    if (Connect()) Send(*make);
    End();
}

void UploadRun::Begin() {
    active_ = true;
    cancel_ = false;
    userCancel_ = false;
    cleaningUp_ = false;
    error_ = false;
    instrumentNotFound_ = false;
    frmCustomRcurve& w = window_;
    plat::PassOver([&] {
        w.cmdSave.SetEnabled(false);
        w.cmdClose.SetCaption(host::TranslateText(kSection, "22007::&Cancel"));
        w.lblUploading.SetCaption(host::TranslateText(kSection, "21056::Searching for Pelmo Q5..."));
        w.lblUploading.SetVisible(true);
        w.xtgUploading.SetVisible(true);
        w.xtgUploading.SetRunning(true);
    });
    Pump();
    w.SetSendingState(true);
    w.cmdClose.SetEnabled(false);
    Pump();
}

bool UploadRun::Connect() {
    if (CreateVTIControl()) {
        Pump();
        plat::PassOver([&] { vti_ = control_->ObjectAs<drv::IXVTIControl>(); });
        Pump();
    }
    if (!vti_) {
        // No driver: nothing can be sent.
        error_ = true;
        cancel_ = true;
    } else {
        auto vti = vti_;
        plat::PassOver([&] { vti->InitVTI(); });
        Pump();
        plat::PassOver([&] {
            vti->SetUploadCancel(cancel_);
            vti->EndRemote();  // a session the driver still holds
        });
        Pump();
    }
    return Step([&](drv::IXVTIControl& vti) {
        vti.StartRemote();
        window_.cmdClose.SetEnabled(true);  // from now on it is the Cancel button
    });
}

void UploadRun::Send(const makes::COximeterMake& make) {
    const std::string sending = host::TranslateText(kSection, "21012::Sending...");
    if (!Step([&](drv::IXVTIControl&) { window_.lblUploading.SetCaption(sending); })) return;
    std::optional<int32_t> slot;
    plat::PassOver([&] {
        slot = dialogs::AskUploadSlot(make);
        if (!slot) {
            cancel_ = true;
            userCancel_ = true;
        }
    });
    Pump();
    const drv::KeyedCollection values = makes::CurveForUpload(make);
    if (Step([&](drv::IXVTIControl& vti) {
            (void)vti.LoadMakeParameters(*slot, make.Name(), make.RedDC(), make.IRDC(), make.IRAC(), &values);
        }))
        Step([&](drv::IXVTIControl& vti) { (void)vti.SetTLC(make.TLC()); });
}

void UploadRun::End() {
    cleaningUp_ = true;
    if (auto vti = vti_) {
        plat::PassOver([&] { vti->SetUploadCancel(false); });
        plat::PassOver([&] { vti->ResetInstrument(); });
        plat::PassOver([&] { vti->EndRemote(); });
    }
    RemoveVTIControl();
    vti_ = nullptr;

    frmCustomRcurve& w = window_;
    plat::PassOver([&] {
        w.cmdClose.SetCaption(host::TranslateText(kSection, "21009::&Close"));
        w.cmdClose.SetEnabled(true);
        w.lblUploading.SetVisible(false);
        w.xtgUploading.SetVisible(false);
        w.xtgUploading.SetRunning(false);
    });
    w.SetSendingState(false);
    active_ = false;
    cleaningUp_ = false;
    Pump();

    if (error_) {
        plat::ui::MsgBox(
            host::TranslateText(kSection,
                                "21053::An error was encoutered while sending the oximeter details to Pelmo Q5."),
            plat::ui::vbOKOnly | plat::ui::vbCritical, host::TranslateText(kSection, kSendTitle));
    } else if (!cancel_) {
        plat::ui::MsgBox(
            host::TranslateText(kSection, "21054::The oximeter details were successfully sent to Pelmo Q5."),
            plat::ui::vbOKOnly | plat::ui::vbInformation, host::TranslateText(kSection, kSendTitle));
    }
}

void UploadRun::Cancel() {
    cancel_ = true;
    userCancel_ = true;
    if (auto vti = vti_) plat::PassOver([&] { vti->SetUploadCancel(true); });
    Pump();
}

bool UploadRun::Step(const std::function<void(drv::IXVTIControl&)>& call) {
    if (cancel_ || !vti_) {
        if (vti_) plat::PassOver([&] { vti_->SetUploadCancel(cancel_); });
        return false;
    }
    auto vti = vti_;  // held: an event handler may end the run meanwhile
    plat::PassOver([&] { call(*vti); });
    Pump();
    return true;
}

bool UploadRun::CreateVTIControl() {
    plat::PassOver([&] {
        control_ = window_.Controls().Add(drv::kXVTIControlProgId, drv::kVTIControlName);
        control_->SetVisible(false);  // the driver draws nothing
        control_->OnObjectEvent = [this](const std::string& name, std::vector<plat::Variant>& params) {
            if (name != drv::kCommunicationErrorEvent) return;
            if (auto error = drv::EventError(params)) CommunicationError(*error);
        };
    });
    return control_ != nullptr;
}

void UploadRun::RemoveVTIControl() {
    plat::PassOver([&] {
        if (window_.Controls().Find(drv::kVTIControlName)) window_.Controls().Remove(drv::kVTIControlName);
    });
    control_ = nullptr;
}

void UploadRun::CommunicationError(const drv::ICPelmo2VTIError& error) {
    // What the clean-up stirs up, and what follows the user's own cancel, is no outcome.
    if (cleaningUp_ || userCancel_) return;
    const int32_t status = error.ErrorNumber();
    if (status == drv::ecsOK || status == drv::ecsPerformed) return;
    error_ = true;
    cancel_ = true;
    if (status == drv::ecsMTINotFound) instrumentNotFound_ = true;
}

}  // namespace editor
