#include "plugin/config/spo2_config_part.h"

#include <string>

#include "platform/values/pass_over.h"
#include "plugin/config/config_classes.h"
#include "plugin/config/config_dialog_maker.h"
#include "dialogs/f_save_make.h"
#include "plugin/config/save_make_dialog_maker.h"
#include "plugin/config/spo2_simulation_config.h"
#include "plugin/factory/plugin_factory.h"

namespace plugin {

namespace {

constexpr const char* kViewControlName = "xvbSetupControl";

std::shared_ptr<host::IDialog> MakeConfigDialog(const host::TestElementPtr& ownerTest) {
    std::shared_ptr<host::IDialog> dialog = Factory().NewSetupDialog();
    auto setupHost = std::dynamic_pointer_cast<ISetupDialogHost>(dialog);
    if (!setupHost) return nullptr;
    plat::ObjectPtr view;
    plat::PassOver([&] {
        view = setupHost->CreateSetupCtrl(std::string(kProjectName) + ".XSpO2SimulationConfigView", kViewControlName);
    });
    // A dialog without its view would edit nothing: the host is told there is none.
    if (!view) {
        plat::PassOver([&] { dialog->Unload(); });
        return nullptr;
    }
    // The dialog hands the owner test on to the view, which edits that test's configuration.
    plat::PassOver([&] { dialog->Initialize(plat::Variant(std::dynamic_pointer_cast<plat::Object>(ownerTest))); });
    return dialog;
}

const bool kRegistered = (RegisterSpO2ConfigurationPart(), true);

}  // namespace

void RegisterSpO2ConfigurationPart() {
    Factory().Install(Part::Configuration, [] { return plat::ObjectPtr(std::make_shared<CSpO2SimulationConfig>()); });
    SetConfigDialogMaker(MakeConfigDialog);
    SetSaveMakeDialogMaker([] { return std::make_shared<dialogs::FSaveMake>(); });
}

}  // namespace plugin
