#include "plugin/shell/f_element_setup.h"

#include <cmath>
#include <limits>

#include "platform/ui/control_host.h"
#include "platform/values/pass_over.h"

namespace plugin {

namespace {

const PartRegistrar kSetupDialogPart(Part::SetupDialog,
                                     [] { return plat::ObjectPtr(std::make_shared<FElementSetup>()); });

// The host's single-precision twips as whole twips.
int32_t Twips(float value) {
    if (!std::isfinite(value)) throw std::range_error("not a position");
    const double rounded = std::nearbyint(static_cast<double>(value));
    if (rounded < std::numeric_limits<int32_t>::min() || rounded > std::numeric_limits<int32_t>::max())
        throw std::range_error("position out of range");
    return static_cast<int32_t>(rounded);
}

plat::ui::WindowHandle UiHandle(host::WindowHandle handle) {
    if (handle < std::numeric_limits<plat::ui::WindowHandle>::min() ||
        handle > std::numeric_limits<plat::ui::WindowHandle>::max())
        return 0;  // names no window of ours
    return static_cast<plat::ui::WindowHandle>(handle);
}

}  // namespace

FElementSetup::FElementSetup() : Form("FElementSetup") {
    // A window that takes the focus hands it to its page.
    OnGotFocus = [this] {
        if (Serving()) plat::PassOver([&] { customControl_->SetFocus(); });
    };
}

void FElementSetup::Load() {
    if (!unloaded_) plat::PassOver([&] { Form::Load(); });
}

plat::ObjectPtr FElementSetup::CreateSetupCtrl(const std::string& progId, const std::string& name) {
    if (unloaded_) return nullptr;
    // As a window's control collection does, adding a page loads the window.
    if (!Loaded()) Load();
    if (!progId.empty()) {
        std::shared_ptr<plat::ui::ObjectControl> added;
        if (plat::PassOver([&] { added = Controls().Add(progId, name); }) && added) {
            control_ = added;
            customControl_ = added->ObjectAs<host::ICustomControl>();
        }
    }
    return control_ ? control_->Object() : nullptr;
}

std::shared_ptr<host::ICallBack> FElementSetup::CallBack() const {
    std::shared_ptr<host::ICallBack> callBack;
    if (Serving()) plat::PassOver([&] { callBack = customControl_->CallBack(); });
    return callBack;
}

void FElementSetup::SetCallBack(std::shared_ptr<host::ICallBack> callBack) {
    if (Serving()) plat::PassOver([&] { customControl_->SetCallBack(std::move(callBack)); });
}

bool FElementSetup::IsDocked() const { return !unloaded_ && docked_; }

bool FElementSetup::Locked() const {
    bool locked = false;
    if (Serving()) plat::PassOver([&] { locked = customControl_->Locked(); });
    return locked;
}

void FElementSetup::SetLocked(bool locked) {
    if (Serving()) plat::PassOver([&] { customControl_->SetLocked(locked); });
}

void FElementSetup::Initialize(const plat::Variant& value) {
    if (Serving()) plat::PassOver([&] { customControl_->Initialize(value); });
}

void FElementSetup::Hide() {
    if (unloaded_) return;
    if (docked_) {
        if (control_) plat::PassOver([&] { control_->SetVisible(false); });
    } else {
        plat::PassOver([&] { Form::Hide(); });
    }
}

void FElementSetup::Show(const plat::Variant&) {
    if (unloaded_ || !docked_ || !control_) return;
    plat::PassOver([&] { control_->SetVisible(true); });
}

void FElementSetup::Dock(host::WindowHandle parent) {
    if (!Serving() || parent == 0) return;
    plat::PassOver([&] { plat::ui::SetParent(UiHandle(customControl_->HWnd()), UiHandle(parent)); });
    docked_ = true;
}

void FElementSetup::GiveBackPage() {
    plat::PassOver([&] { plat::ui::SetParent(UiHandle(customControl_->HWnd()), hWnd()); });
}

void FElementSetup::UnDock() {
    if (Serving()) GiveBackPage();
}

void FElementSetup::Unload() {
    if (unloaded_) return;
    if (customControl_ && docked_) GiveBackPage();
    // Unloading removes the page added by ProgID, which destroys it.
    plat::PassOver([&] { Form::Unload(); });
    unloaded_ = true;
    customControl_.reset();
    control_.reset();
}

void FElementSetup::Move(float left, float top, float width, float height) {
    if (unloaded_ || !(height > 0)) return;
    plat::PassOver([&] {
        const int32_t l = Twips(left), t = Twips(top), w = Twips(width), h = Twips(height);
        if (docked_) {
            if (control_) control_->Move(l, t, w, h);
        } else {
            Form::Move(l, t, w, h);
        }
    });
}

void FElementSetup::Refresh() {
    if (Serving()) plat::PassOver([&] { customControl_->Refresh(); });
}

void FElementSetup::SetFocus() {
    if (Serving()) plat::PassOver([&] { customControl_->SetFocus(); });
}

}  // namespace plugin
