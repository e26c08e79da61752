#include "host/tg/x_tg_content_pane.h"

#include <algorithm>

#include "platform/ui/form.h"
#include "platform/values/pass_over.h"

namespace host {

namespace {

constexpr int32_t kMargin = 60;

const std::string kResultsKey = "results";

}  // namespace

XTgContentPane::XTgContentPane() {
    lblTitle.SetFontBold(true);
    tbrPages.SetImageList(&ilsPages);
    auto& results = tbrPages.Add(kResultsKey, "Results", plat::ui::ButtonStyle::Check);
    results.SetValue(true);
    tbrPages.OnButtonClick = [this](plat::ui::ToolbarButton& button) { tbrPages_ButtonClick(button); };
    OnResize = [this] { Arrange(ScaleWidth(), ScaleHeight()); };
    Arrange(width_, height_);
}

void XTgContentPane::Setup(const TestElementPtr& element, const std::shared_ptr<ITestSetup>&) {
    std::string name;
    plat::PassOver([&] {
        if (element && element->Info()) name = element->Info()->Name();
    });
    lblTitle.SetCaption(name);
}

void XTgContentPane::SetMainControl(const std::shared_ptr<plat::ui::ObjectControl>& control) {
    if (auto previous = main_.lock(); previous && previous != control) Undock(previous);
    main_ = control;
    Dock(control);
    ShowSelected();
}

void XTgContentPane::SetHelpControl(const std::shared_ptr<plat::ui::ObjectControl>& control) {
    if (auto previous = help_.lock(); previous && previous != control) Undock(previous);
    help_ = control;
    Dock(control);
    ShowSelected();
}

int32_t XTgContentPane::AddPane(const std::shared_ptr<CContentPaneItem>& item,
                                const std::shared_ptr<plat::ui::ObjectControl>& control) {
    const std::string key = "page" + std::to_string(++pagesMade_);
    panes_.push_back({item ? item : std::make_shared<CContentPaneItem>(), control, key});
    const int32_t index = PaneCount();
    const CContentPaneItem& shown = *panes_.back().item;
    std::string image;
    plat::PassOver([&] {
        if (!shown.Picture().IsNone()) {
            ilsPages.Add(key, shown.Picture());
            image = key;
        }
    });
    tbrPages.Add(key, shown.Caption(), plat::ui::ButtonStyle::Check, image);
    Dock(control);
    ShowSelected();
    return index;
}

std::shared_ptr<CContentPaneItem> XTgContentPane::PaneItem(int32_t index) const {
    if (index < 1 || index > PaneCount()) return nullptr;
    return panes_[static_cast<size_t>(index - 1)].item;
}

void XTgContentPane::SelectPane(int32_t index) {
    if (index < 0 || index > PaneCount()) return;
    selected_ = index;
    ShowSelected();
}

std::string XTgContentPane::PageKeyOf(int32_t index) const {
    if (index == 0) return kResultsKey;
    if (index < 1 || index > PaneCount()) return {};
    return panes_[static_cast<size_t>(index - 1)].key;
}

bool XTgContentPane::PickPane(int32_t index) {
    const std::string key = PageKeyOf(index);
    return !key.empty() && tbrPages.ClickButton(key);
}

void XTgContentPane::tbrPages_ButtonClick(plat::ui::ToolbarButton& button) {
    for (int32_t i = 0; i <= PaneCount(); ++i)
        if (PageKeyOf(i) == button.Key()) selected_ = i;
    ShowSelected();  // a click on the shown page's button keeps it pressed
    FocusSelected();
}

void XTgContentPane::FocusSelected() {
    // The keys typed next go into the picked page (a reading into the results grid's open cell).
    auto control = selected_ == 0 ? main_.lock() : panes_[static_cast<size_t>(selected_ - 1)].control.lock();
    auto page = control ? control->ObjectAs<plat::ui::UserControl>() : nullptr;
    if (!page) return;
    std::vector<plat::ui::Control*> order;
    for (const auto& c : page->Controls()) order.push_back(c.get());
    std::stable_sort(order.begin(), order.end(),
                     [](const plat::ui::Control* a, const plat::ui::Control* b) { return a->TabIndex() < b->TabIndex(); });
    for (plat::ui::Control* c : order)
        if (c->TabStop() && plat::PassOver([&] { c->SetFocus(); }) && c->HasFocus()) return;
}

void XTgContentPane::SetWindow(plat::ui::Form& window) {
    window_ = &window;
    ShowSelected();
}

void XTgContentPane::Release(plat::ui::Form& window) {
    if (window_ != &window) return;
    Undock(main_.lock());
    Undock(help_.lock());
    for (const Pane& pane : panes_) Undock(pane.control.lock());
    window_ = nullptr;
}

void XTgContentPane::Clear() {
    main_.reset();
    help_.reset();
    panes_.clear();
    selected_ = 0;
    // The toolbar keeps its buttons: those of the forgotten pages are hidden.
    for (int32_t i = tbrPages.Count(); i > 1; --i) tbrPages.Button(i).SetVisible(false);
    lblTitle.SetCaption({});
}

void XTgContentPane::Dock(const std::shared_ptr<plat::ui::ObjectControl>& control) {
    if (!control) return;
    plat::PassOver([&] {
        if (auto page = control->ObjectAs<plat::ui::UserControl>()) plat::ui::SetParent(page->hWnd(), hWnd());
    });
}

void XTgContentPane::Undock(const std::shared_ptr<plat::ui::ObjectControl>& control) {
    if (!control) return;
    plat::PassOver([&] {
        if (auto page = control->ObjectAs<plat::ui::UserControl>(); page && page->DockParent() == this)
            plat::ui::SetParent(page->hWnd(), 0);
    });
}

void XTgContentPane::Arrange(int32_t width, int32_t height) {
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    const int32_t titleWidth = std::min(3000, width_ / 3);
    lblTitle.Move(kMargin, 90, std::max(0, titleWidth - kMargin), 285);
    tbrPages.Move(titleWidth, 0, std::max(0, width_ - titleWidth), kSelectorHeight);
    ShowSelected();
}

int32_t XTgContentPane::HelpWidth(int32_t width) const {
    return help_.lock() ? std::clamp(width / 4, 0, kMaxHelpWidth) : 0;  // the page keeps the most
}

int32_t XTgContentPane::WidthForPage(int32_t pageWidth) const {
    if (!help_.lock()) return pageWidth;
    const int32_t quarterHelp = (pageWidth + kMargin) * 4 / 3 + 1;
    return quarterHelp / 4 <= kMaxHelpWidth ? quarterHelp : pageWidth + kMaxHelpWidth + kMargin;
}

void XTgContentPane::ShowSelected() {
    for (int32_t i = 0; i <= PaneCount(); ++i) {
        auto& button = tbrPages.Button(PageKeyOf(i));
        if (button.Value() != (i == selected_)) button.SetValue(i == selected_);
    }
    const int32_t top = kSelectorHeight + kMargin;
    const int32_t pageHeight = std::max(0, height_ - top);
    auto help = help_.lock();
    const int32_t helpWidth = HelpWidth(width_);
    const int32_t pageWidth = std::max(0, width_ - helpWidth - (help ? kMargin : 0));
    auto place = [&](const std::shared_ptr<plat::ui::ObjectControl>& control, bool shown, int32_t left,
                     int32_t width) {
        if (!control) return;
        plat::PassOver([&] {
            if (shown) control->Move(left, top, width, pageHeight);
            control->SetVisible(shown);
        });
    };
    place(main_.lock(), selected_ == 0, 0, pageWidth);
    for (int32_t i = 1; i <= PaneCount(); ++i)
        place(panes_[static_cast<size_t>(i - 1)].control.lock(), selected_ == i, 0, pageWidth);
    place(help, true, pageWidth + kMargin, helpWidth);
}

}  // namespace host
