#include "dialogs/form_captions.h"

#include <vector>

#include "host/language_service.h"
#include "host/translate_text.h"
#include "platform/ui/form.h"

namespace dialogs {
inline namespace ORVIK_MAKES_FLAVOUR {

namespace {

class ControlCaption final : public host::ICaptioned {
public:
    explicit ControlCaption(plat::ui::Control& control) : control_(control) {}
    std::string Caption() const override { return control_.Caption(); }
    void SetCaption(const std::string& caption) override { control_.SetCaption(caption); }

private:
    plat::ui::Control& control_;
};

}  // namespace

void TranslateControls(std::string_view section, plat::ui::ControlHost& host) {
    std::vector<ControlCaption> adapters;
    for (const plat::ui::ControlPtr& control : host.Controls())
        if (control && control->HasCaption()) adapters.emplace_back(*control);
    std::vector<host::ICaptioned*> captions;
    for (ControlCaption& adapter : adapters) captions.push_back(&adapter);
    host::LanguageService().TranslateControls(section, captions);
}

void TranslateFormCaptions(plat::ui::Form& form) {
    form.SetCaption(host::TranslateText(kLanguageSection, form.Caption()));
    TranslateControls(kLanguageSection, form);
}

}  // namespace ORVIK_MAKES_FLAVOUR
}  // namespace dialogs
