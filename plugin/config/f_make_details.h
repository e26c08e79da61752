#pragma once
// FMakeDetails: the small modal window "View Custom R-curve" that shows one
// custom make in the custom-make view (XCustomMake) and tells its caller which
// make the view's list shows when the operator presses Close. Closing it by
// its close box or with Esc is no choice: Accepted() stays false and the name
// is empty.
//
// Callers go through ChooseInMakeDetails, which holds the calling order:
//
//   if (auto name = ChooseInMakeDetails(makeIndex, make, makeList, mode)) ...  // the operator chose
//
// The view is added by ProgID "OrvikPelmo2.XCustomMake" under "xcmCustomMake";
// a ProgID that cannot be made leaves the window without a view (then Close
// gives the empty name).

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "makes/make_utils.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "plugin/factory/server_lock.h"

namespace plugin {

class XCustomMake;

class FMakeDetails : public plat::ui::Form {
public:
    static constexpr const char* kViewName = "xcmCustomMake";

    FMakeDetails();

    // Adds the view and hands it the make (index is the configuration's make
    // index, 10 and up for custom makes; the view gets index - 10), the list
    // of custom makes and the mode (1, 2: the list may change; 3: locked).
    void Initialize(int32_t makeIndex, const makes::OximeterMakePtr& make, const makes::MakeListPtr& makeList,
                    int32_t mode);
    // The name the view's list showed when Close was pressed; "" otherwise.
    const std::string& SelectedOximeterMakeName() const { return selected_; }
    // Whether the operator left the window with Close.
    bool Accepted() const { return accepted_; }
    // The hosted view, or nullptr when it could not be added.
    std::shared_ptr<XCustomMake> View() const;

private:
    void Form_Load();
    void cmdClose_Click();

    plat::ui::CommandButton& cmdClose = Add<plat::ui::CommandButton>("cmdClose");
    // Esc's button: outside the window, so no one sees it or tabs to it.
    plat::ui::CommandButton& cmdCancel = Add<plat::ui::CommandButton>("cmdCancel");
    std::shared_ptr<plat::ui::ObjectControl> xcmCustomMake;
    std::string selected_;
    bool accepted_ = false;
    ServerLock lock_;
};

// Shows the make in a new FMakeDetails, modally, and unloads it. The name the
// operator chose with Close (not empty), or nullopt when the window was left
// another way or could not be shown.
std::optional<std::string> ChooseInMakeDetails(int32_t makeIndex, const makes::OximeterMakePtr& make,
                                               const makes::MakeListPtr& makeList, int32_t mode);

}  // namespace plugin
