#pragma once
// The host's frame around a dialog that the plug-in gives (its settings, a
// test's configuration or limits, a result's detailed page): the dialog's
// page is docked into the frame (IDialog.Dock with the frame's handle) and
// edits in place; the frame offers only Close. The dialog is unloaded when
// the frame closes, by Close, Esc or the close box. The frame fits the page:
// one that stretches gets kPageWidth x kPageHeight, one of fixed layout the
// size its controls reach.
//
//   FDialogFrame frame("frmPlugInSettings", "Settings");
//   frame.ShowDialog(setup->CreateDialog());   // returns once closed
//   setup->RegSave({}, {});

#include <memory>
#include <string>
#include <utility>

#include "host/ui_interfaces.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"

namespace hostprog {

class FDialogFrame : public plat::ui::Form {
public:
    // The place a page is first given in the frame, in twips.
    static constexpr int32_t kPageWidth = 9000;
    static constexpr int32_t kPageHeight = 5400;

    FDialogFrame(std::string name, std::string caption);

    // Docks and shows the dialog, waits (modally) until the frame is closed,
    // then unloads the dialog and the frame. Nothing for a null dialog.
    void ShowDialog(const std::shared_ptr<host::IDialog>& dialog);

private:
    void cmdClose_Click();
    // The size, in twips, of the page docked into the frame at kPageWidth x
    // kPageHeight: as far as its controls reach, and a gap.
    std::pair<int32_t, int32_t> PageExtent() const;
    // The frame's size for a page of that size, Close below it on the right.
    void FitTo(int32_t pageWidth, int32_t pageHeight);

    std::string caption_;
    plat::ui::CommandButton& cmdClose = Add<plat::ui::CommandButton>("cmdClose");
};

}  // namespace hostprog
