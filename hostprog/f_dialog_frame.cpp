#include "hostprog/f_dialog_frame.h"

#include <algorithm>

#include "platform/ui/control_host.h"
#include "platform/values/pass_over.h"

namespace hostprog {

namespace {
constexpr int32_t kGap = 120;
constexpr int32_t kButtonWidth = 1200;
constexpr int32_t kButtonHeight = 375;
}  // namespace

FDialogFrame::FDialogFrame(std::string name, std::string caption)
    : Form(std::move(name)), caption_(std::move(caption)) {
    OnLoad = [this] {
        SetCaption(caption_);
        cmdClose.SetCaption("Close");
        cmdClose.SetCancel(true);
        FitTo(kPageWidth, kPageHeight);
    };
    cmdClose.OnClick = [this] { cmdClose_Click(); };
}

void FDialogFrame::cmdClose_Click() { Hide(); }

void FDialogFrame::FitTo(int32_t pageWidth, int32_t pageHeight) {
    const int32_t width = std::max(pageWidth, kButtonWidth + 2 * kGap);
    SetInnerSize(width, pageHeight + 2 * kGap + kButtonHeight);
    cmdClose.Move(width - kButtonWidth - kGap, pageHeight + kGap, kButtonWidth, kButtonHeight);
}

std::pair<int32_t, int32_t> FDialogFrame::PageExtent() const {
    int32_t right = 0, bottom = 0;
    for (const plat::ui::ControlHost* page : plat::ui::AllHosts()) {
        if (page->DockParent() != this) continue;
        // Controls inside a container lie within it; hidden ones may show later.
        for (const auto& control : page->Controls()) {
            if (control->Container()) continue;
            right = std::max(right, control->Left() + control->Width());
            bottom = std::max(bottom, control->Top() + control->Height());
        }
    }
    if (right <= 0 || bottom <= 0) return {kPageWidth, kPageHeight};
    // A page that fills its place keeps it; a smaller one gets a gap beyond its controls.
    auto fit = [](int32_t reach, int32_t given) { return reach + kGap >= given ? std::max(reach, given) : reach + kGap; };
    return {fit(right, kPageWidth), fit(bottom, kPageHeight)};
}

void FDialogFrame::ShowDialog(const std::shared_ptr<host::IDialog>& dialog) {
    if (!dialog) return;
    Load();
    // Pages tell of their changes; the frame has nothing to do with them, as
    // the page edits the object in place.
    plat::PassOver([&] { dialog->SetCallBack(std::make_shared<host::CCallBack>()); });
    plat::PassOver([&] { dialog->Dock(hWnd()); });
    // A page that stretches fills the place it is given; one of fixed layout
    // reaches as far as its controls: the frame takes the page's own size.
    plat::PassOver([&] { dialog->Move(0, 0, kPageWidth, kPageHeight); });
    const auto [width, height] = PageExtent();
    plat::PassOver([&] { dialog->Move(0, 0, static_cast<float>(width), static_cast<float>(height)); });
    FitTo(width, height);
    plat::PassOver([&] { dialog->Show({}); });
    plat::PassOver([&] { dialog->SetFocus(); });
    try {
        Show(plat::ui::ShowMode::Modal);
    } catch (...) {
        plat::PassOver([&] { dialog->Unload(); });
        throw;
    }
    plat::PassOver([&] { dialog->Unload(); });
    if (Loaded()) Unload();
}

}  // namespace hostprog
