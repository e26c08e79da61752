#include "hostprog/f_dialog_frame.h"

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
        SetInnerSize(kPageWidth, kPageHeight + 2 * kGap + kButtonHeight);
        cmdClose.SetCaption("Close");
        cmdClose.SetCancel(true);
        cmdClose.Move(kPageWidth - kButtonWidth - kGap, kPageHeight + kGap, kButtonWidth, kButtonHeight);
    };
    cmdClose.OnClick = [this] { cmdClose_Click(); };
}

void FDialogFrame::cmdClose_Click() { Hide(); }

void FDialogFrame::ShowDialog(const std::shared_ptr<host::IDialog>& dialog) {
    if (!dialog) return;
    Load();
    // Pages tell of their changes; the frame has nothing to do with them, as
    // the page edits the object in place.
    plat::PassOver([&] { dialog->SetCallBack(std::make_shared<host::CCallBack>()); });
    plat::PassOver([&] { dialog->Dock(hWnd()); });
    plat::PassOver([&] { dialog->Move(0, 0, kPageWidth, kPageHeight); });
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
