#include "host/tg/x_tg_toolbar.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "host/translate_text.h"
#include "platform/ui/metrics.h"
#include "platform/values/pass_over.h"

namespace host {

namespace {

struct ButtonDesign {
    int32_t id;
    std::string_view caption;
    plat::ui::ButtonStyle style;
    bool visible;
};

constexpr std::array<ButtonDesign, 9> kButtons = {{
    {202, "Start", plat::ui::ButtonStyle::Default, true},
    {101, "Stop", plat::ui::ButtonStyle::Default, true},
    {201, "Abort", plat::ui::ButtonStyle::Default, true},
    {103, "Previous", plat::ui::ButtonStyle::Default, true},
    {301, "Next", plat::ui::ButtonStyle::Default, true},
    {302, "Skip", plat::ui::ButtonStyle::Default, true},
    {102, "N/A", plat::ui::ButtonStyle::Default, true},
    {501, "Expected values", plat::ui::ButtonStyle::Check, true},
    {402, "", plat::ui::ButtonStyle::Default, false},
}};

constexpr int32_t kExpectedValuesId = 501;
constexpr int32_t kLabelWidth = 660;      // "Limits:" before the selector
constexpr int32_t kSelectorWidth = 2520;  // at least; wider for a longer standard's name
constexpr int32_t kMargin = 60;
// What a button, the selector and the bar add to their texts, in pixels.
constexpr int32_t kButtonPadding = 16;
constexpr int32_t kSelectorPadding = 36;  // frame and drop arrow
constexpr int32_t kBarPadding = 16;

std::string StatusName(int32_t status) {
    switch (status) {
    case 0: return "Not tested";
    case 1: return "Passed";
    case 2: return "Failed";
    case 3: return "Not applicable";
    default: return "Status " + std::to_string(status);
    }
}

}  // namespace

XTgToolbar::XTgToolbar() {
    for (const ButtonDesign& design : kButtons) {
        auto& button = tbrButtons.Add(std::to_string(design.id), std::string(design.caption), design.style);
        button.SetVisible(design.visible);
    }
    tbrButtons.Button(std::to_string(kExpectedValuesId))
        .SetToolTipText("Limits of SpO2 and BPM around the configured values");
    lblStandard.SetCaption("Limits:");
    cboStandard.SetStyle(plat::ui::ComboStyle::DropdownList);
    prgBusy.SetVisible(false);
    lblStatus.SetCaption(StatusName(0));

    tbrButtons.OnButtonClick = [this](plat::ui::ToolbarButton& button) { tbrButtons_ButtonClick(button); };
    cboStandard.OnClick = [this] { cboStandard_Click(); };
    OnResize = [this] { Arrange(ScaleWidth()); };
    Arrange(8880);
}

void XTgToolbar::Setup(int32_t first, int32_t second) {
    setupFirst_ = first;
    setupSecond_ = second;
}

void XTgToolbar::Initialize(const TestElementPtr& element, const std::shared_ptr<ITestSetup>& setup) {
    std::shared_ptr<ILimitStandards> standards;
    plat::PassOver([&] {
        if (setup) standards = setup->LimitStandards();
    });
    plat::PassOver([&] {
        if ((!standards || standards->Count() == 0) && element && element->Limits())
            standards = element->Limits()->Standards();
    });
    // The texts of a plug-in's standards are its language texts.
    std::string section;
    plat::PassOver([&] {
        if (element) section = element->PlugInID();
    });
    standards_.clear();
    cboStandard.Clear();
    plat::PassOver([&] {
        for (int32_t i = 1; standards && i <= standards->Count(); ++i) {
            auto standard = standards->Item(i);
            if (!standard) continue;
            standards_.push_back({standard->Name(), standard->Text()});
            const std::string name = TranslateText(section, standard->Name());
            const std::string text = TranslateText(section, standard->Text());
            cboStandard.AddItem(text.empty() ? name : name + " - " + text);
        }
    });
    if (cboStandard.ListCount() > 0) cboStandard.SetListIndex(0);
    if (ScaleWidth() > 0) Arrange(ScaleWidth());  // the selector shows the longest name
}

plat::ui::ToolbarButton& XTgToolbar::Button(int32_t id) const { return tbrButtons.Button(std::to_string(id)); }

bool XTgToolbar::ClickButton(int32_t id, bool flag) {
    pendingFlag_ = flag;
    const bool clicked = tbrButtons.ClickButton(std::to_string(id));
    pendingFlag_ = false;
    return clicked;
}

void XTgToolbar::tbrButtons_ButtonClick(plat::ui::ToolbarButton& button) {
    const bool flag = pendingFlag_;
    pendingFlag_ = false;
    int32_t id = 0;
    plat::PassOver([&] { id = std::stoi(button.Key()); });
    if (id == kExpectedValuesId && HasSelectedStandard() && OnStandardChanged) OnStandardChanged();
    if (OnButtonClick) OnButtonClick(id, flag);
}

void XTgToolbar::SetStatus(int32_t status) {
    status_ = status;
    lblStatus.SetCaption(StatusName(status));
}

void XTgToolbar::SetStatusText(std::string text) { lblStatus.SetCaption(std::move(text)); }

bool XTgToolbar::HasSelectedStandard() const {
    const int32_t index = cboStandard.ListIndex();
    return index >= 0 && index < static_cast<int32_t>(standards_.size());
}

XTgToolbar::SelectedStandard XTgToolbar::GetSelectedStandard() const {
    SelectedStandard selected;
    if (HasSelectedStandard()) {
        const Entry& entry = standards_[static_cast<size_t>(cboStandard.ListIndex())];
        selected.name = entry.name;
        selected.text = entry.text;
    }
    selected.useExpected = ButtonValue(kExpectedValuesId);
    return selected;
}

void XTgToolbar::cboStandard_Click() {
    if (HasSelectedStandard() && OnStandardChanged) OnStandardChanged();
}

int32_t XTgToolbar::SelectorWidth() const {
    int32_t widest = 0;
    plat::PassOver([&] {
        const plat::ui::TextMetrics& metrics = plat::ui::Metrics();
        for (int32_t i = 0; i < cboStandard.ListCount(); ++i)
            widest = std::max(widest, metrics.TextWidth(cboStandard.List(i), cboStandard.Font()));
        widest += kSelectorPadding * metrics.TwipsPerPixelX();
    });
    return std::max(widest, kSelectorWidth);
}

int32_t XTgToolbar::RightPartWidth() const { return kLabelWidth + SelectorWidth() + kMargin; }

int32_t XTgToolbar::MinimumWidth() const {
    int32_t buttons = 0;
    plat::PassOver([&] {
        const plat::ui::TextMetrics& metrics = plat::ui::Metrics();
        const int32_t padding = kButtonPadding * metrics.TwipsPerPixelX();
        for (int32_t i = 1; i <= tbrButtons.Count(); ++i) {
            const plat::ui::ToolbarButton& button = tbrButtons.Button(i);
            if (button.Visible()) buttons += metrics.TextWidth(button.Caption(), tbrButtons.Font()) + padding;
        }
        buttons += kBarPadding * metrics.TwipsPerPixelX();
    });
    return buttons + kMargin + RightPartWidth();
}

void XTgToolbar::Arrange(int32_t width) {
    const int32_t rightPart = RightPartWidth();
    const int32_t selector = rightPart - kLabelWidth - kMargin;
    const int32_t right = std::max(0, width - rightPart);
    tbrButtons.Move(0, 0, std::max(0, right - kMargin), kDesignHeight);
    lblStandard.Move(right, 60, kLabelWidth, 255);
    cboStandard.Move(right + kLabelWidth, 30, selector, 315);
    lblStatus.Move(right, 375, rightPart - 900, 255);
    prgBusy.Move(right + rightPart - 840, 390, 780, 195);
}

}  // namespace host
