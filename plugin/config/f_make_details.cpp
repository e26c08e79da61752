#include "plugin/config/f_make_details.h"

#include "host/translate_text.h"
#include "platform/ui/object_control.h"
#include "platform/values/pass_over.h"
#include "plugin/config/captions.h"
#include "plugin/config/config_classes.h"
#include "plugin/config/x_custom_make.h"

namespace plugin {

namespace {
constexpr const char* kSection = "Pelmo2";
constexpr const char* kCaption = "22000::View Custom R-curve";
}  // namespace

FMakeDetails::FMakeDetails() : Form("FMakeDetails") {
    SetCaption(kCaption);
    cmdClose.SetCaption("21009::&Close");
    cmdClose.SetDefault(true);
    cmdClose.Move(5880, 4935, 1335, 375);
    cmdClose.SetTabIndex(5);
    // Esc leaves like the close box: only Close chooses.
    cmdCancel.SetCancel(true);
    cmdCancel.SetTabStop(false);
    cmdCancel.Move(-2400, 4935, 1335, 375);
    SetInnerSize(7335, 5475);
    OnLoad = [this] { Form_Load(); };
    cmdClose.OnClick = [this] { cmdClose_Click(); };
    cmdCancel.OnClick = [this] { Hide(); };
}

void FMakeDetails::Form_Load() {
    plat::PassOver([&] { SetCaption(host::TranslateText(kSection, kCaption)); });
    plat::PassOver([&] { TranslateControls(kSection, *this); });
}

void FMakeDetails::Initialize(int32_t makeIndex, const makes::OximeterMakePtr& make,
                              const makes::MakeListPtr& makeList, int32_t mode) {
    const int32_t customNumber = makeIndex - makes::kFirstCustomMake;
    plat::PassOver([&] {
        if (Controls().Exists(kViewName))
            xcmCustomMake = std::dynamic_pointer_cast<plat::ui::ObjectControl>(Controls().Shared(kViewName));
        if (!xcmCustomMake) xcmCustomMake = Controls().Add(std::string(kProjectName) + ".XCustomMake", kViewName);
    });
    plat::PassOver([&] {
        if (!xcmCustomMake) return;
        xcmCustomMake->Move(120, 120, 7095, 4695);
        xcmCustomMake->SetTabIndex(4);
        xcmCustomMake->SetVisible(true);
    });
    plat::PassOver([&] {
        if (auto view = View()) view->Initialize(customNumber, make, makeList, mode);
    });
}

std::shared_ptr<XCustomMake> FMakeDetails::View() const {
    return xcmCustomMake ? xcmCustomMake->ObjectAs<XCustomMake>() : nullptr;
}

void FMakeDetails::cmdClose_Click() {
    plat::PassOver([&] {
        auto view = View();
        selected_ = view ? view->SelectedOximeterMakeName() : std::string();
    });
    accepted_ = true;
    Hide();
}

std::optional<std::string> ChooseInMakeDetails(int32_t makeIndex, const makes::OximeterMakePtr& make,
                                               const makes::MakeListPtr& makeList, int32_t mode) {
    auto dialog = std::make_shared<FMakeDetails>();
    std::optional<std::string> chosen;
    plat::PassOver([&] {
        dialog->Load();
        dialog->Initialize(makeIndex, make, makeList, mode);
        dialog->Show(plat::ui::ShowMode::Modal);
        if (dialog->Accepted() && !dialog->SelectedOximeterMakeName().empty())
            chosen = dialog->SelectedOximeterMakeName();
    });
    plat::PassOver([&] { dialog->Unload(); });
    return chosen;
}

}  // namespace plugin
