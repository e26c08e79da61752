#pragma once
// The host's test-guide content pane (stand-in): fills a test-guide window
// above its toolbar. At the top the test's name and a selector of pages: the
// results page (the main control), then each pane added with its item. The
// page area shows the selected page at the left and the help control at the
// right. The controls handed to it are docked into it (SetParent) and placed
// through their extenders; Release undocks them again. The selector's
// buttons (toolbar "tbrPages") are keyed "results" for page 0 and "page1",
// "page2", ... for the panes in the order added.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/tg/content_pane_item.h"
#include "host/test_element.h"
#include "platform/ui/image_list.h"
#include "platform/ui/label.h"
#include "platform/ui/toolbar.h"
#include "platform/ui/user_control.h"

namespace plat::ui {
class Form;
}

namespace host {

class XTgContentPane : public plat::ui::UserControl {
public:
    static constexpr int32_t kSelectorHeight = 780;  // a pane button: its picture over its caption

    XTgContentPane();

    // Shows the element's name; the run context is not used by the stand-in.
    void Setup(const TestElementPtr& element, const std::shared_ptr<ITestSetup>& setup);

    // The results page (page 0) and the help control.
    void SetMainControl(const std::shared_ptr<plat::ui::ObjectControl>& control);
    std::shared_ptr<plat::ui::ObjectControl> MainControl() const { return main_.lock(); }
    void SetHelpControl(const std::shared_ptr<plat::ui::ObjectControl>& control);
    std::shared_ptr<plat::ui::ObjectControl> HelpControl() const { return help_.lock(); }

    // Adds a page showing the control; returns its index (1, 2, ...).
    int32_t AddPane(const std::shared_ptr<CContentPaneItem>& item,
                    const std::shared_ptr<plat::ui::ObjectControl>& control);
    int32_t PaneCount() const { return static_cast<int32_t>(panes_.size()); }
    std::shared_ptr<CContentPaneItem> PaneItem(int32_t index) const;
    // Shows page `index` (0 the results page); an unknown index changes nothing.
    void SelectPane(int32_t index);
    int32_t SelectedPane() const { return selected_; }
    // User action: picks a page in the selector; the page takes the focus.
    bool PickPane(int32_t index);

    // The window it works in; Release undocks every control from it, Clear
    // forgets every page and control.
    void SetWindow(plat::ui::Form& window);
    plat::ui::Form* Window() const { return window_; }
    void Release(plat::ui::Form& window);
    void Clear();

    // Lays the pages out in the given size (twips); done on every change of
    // its size.
    void Arrange(int32_t width, int32_t height);
    // The width (twips) at which the page beside the help is at least that wide.
    int32_t WidthForPage(int32_t pageWidth) const;

private:
    struct Pane {
        std::shared_ptr<CContentPaneItem> item;
        std::weak_ptr<plat::ui::ObjectControl> control;
        std::string key;  // of its selector button
    };
    static constexpr int32_t kMaxHelpWidth = 2700;
    int32_t HelpWidth(int32_t width) const;
    std::string PageKeyOf(int32_t index) const;
    void Dock(const std::shared_ptr<plat::ui::ObjectControl>& control);
    void Undock(const std::shared_ptr<plat::ui::ObjectControl>& control);
    void ShowSelected();
    void tbrPages_ButtonClick(plat::ui::ToolbarButton& button);
    // Gives the focus to the first control of the shown page that takes it.
    void FocusSelected();

    plat::ui::Label& lblTitle = Add<plat::ui::Label>("lblTitle");
    plat::ui::ImageList& ilsPages = Add<plat::ui::ImageList>("ilsPages");
    plat::ui::Toolbar& tbrPages = Add<plat::ui::Toolbar>("tbrPages");

    std::weak_ptr<plat::ui::ObjectControl> main_;
    std::weak_ptr<plat::ui::ObjectControl> help_;
    std::vector<Pane> panes_;
    int32_t selected_ = 0;
    int32_t pagesMade_ = 0;
    plat::ui::Form* window_ = nullptr;
    int32_t width_ = 8895;
    int32_t height_ = 4935;
};

}  // namespace host
