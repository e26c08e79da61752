#include "plugin/results/x_detailed_result.h"

#include "host/test_element.h"
#include "platform/ui/object_control.h"
#include "platform/values/pass_over.h"
#include "plugin/config/captions.h"
#include "plugin/shell/pelmo2_utils.h"

namespace plugin {

namespace {
constexpr int32_t kIndent = 120;
constexpr int32_t kTitleHeight = 330;
}  // namespace

XDetailedResult::XDetailedResult() {
    lblTitle.SetCaption("T1708::Comment");
    lblTitle.SetFont({"Arial", 9.75, true, true});
    lblTitle.Move(kIndent, 0, 4680, kTitleHeight);
    txtComment.Move(kIndent, kTitleHeight, 4680, 2400);
    // A comment can hold several lines; a long one scrolls.
    txtComment.SetMultiLine(true);
    txtComment.SetScrollBars(plat::ui::vbVertical);
    OnResize = [this] { UserControl_Resize(); };
    plat::PassOver([&] { TranslateControls(kLanguageSection, *this); });
}

bool XDetailedResult::Visible() const { return Extender() && Extender()->Visible(); }

void XDetailedResult::SetVisible(bool visible) {
    if (Extender()) Extender()->SetVisible(visible);
}

void XDetailedResult::Initialize(const plat::Variant& value) {
    std::string comment;
    plat::PassOver([&] {
        if (auto result = value.As<host::IResultData>()) comment = result->Comment();
    });
    plat::PassOver([&] { txtComment.SetText(comment); });
    plat::PassOver([&] { txtComment.SetLocked(true); });
    plat::PassOver([&] { txtComment.SetBackColor(plat::ui::vbButtonFace); });
}

void XDetailedResult::Refresh() { NotifyHostChanged(); }

void XDetailedResult::SetFocus() {
    plat::PassOver([&] { txtComment.SetFocus(); });
}

void XDetailedResult::UserControl_Resize() {
    const int32_t width = ScaleWidth() - kIndent;
    const int32_t labelHeight = lblTitle.Height();
    const int32_t height = ScaleHeight() - labelHeight;
    // A page too small for a box leaves it where it was.
    if (width >= 0) lblTitle.Move(kIndent, 0, width, labelHeight);
    if (width >= 0 && height >= 0) txtComment.Move(kIndent, labelHeight, width, height);
}

}  // namespace plugin
