#pragma once
// The host's test-guide toolbar (stand-in): the run's buttons, each known by
// the numeric id it reports with a click, a status field, a busy indicator
// and the limit-standard selector. It sits at the bottom of a test-guide
// window; the window decides what each id does.
//
// Buttons, left to right: 202 Start, 101 Stop, 201 Abort, 103 Previous,
// 301 Next, 302 Skip, 102 N/A, 501 "Expected values" (a two-state button:
// its state is the Boolean of the selected standard, so that limits of the
// SpO2 and BPM readings follow the configured values), 402 (kept for ids the
// host reserves; not shown).
//
// The selector lists the limit standards of the run when it gives any, else
// those of the element's limits, their texts translated in the element's
// plug-in section; Initialize selects the first, and every pick (and every
// change of 501) is reported through OnStandardChanged.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "host/test_element.h"
#include "platform/ui/controls.h"
#include "platform/ui/progress_bar.h"
#include "platform/ui/toolbar.h"
#include "platform/ui/user_control.h"

namespace host {

class XTgToolbar : public plat::ui::UserControl {
public:
    // The standard shown by the selector: its two texts and the toolbar's Boolean.
    struct SelectedStandard {
        std::string name;
        std::string text;
        bool useExpected = false;
    };

    static constexpr int32_t kDesignHeight = 645;

    XTgToolbar();

    // The host's set-up values, kept as given.
    void Setup(int32_t first, int32_t second);
    int32_t SetupFirst() const { return setupFirst_; }
    int32_t SetupSecond() const { return setupSecond_; }

    // Fills the standard selector for the element and the run and selects the
    // first standard (reported). Nothing to list: the selector is empty.
    void Initialize(const TestElementPtr& element, const std::shared_ptr<ITestSetup>& setup);

    // The button of that id; UiError for an id the toolbar lacks.
    plat::ui::ToolbarButton& Button(int32_t id) const;
    bool ButtonEnabled(int32_t id) const { return Button(id).Enabled(); }
    void SetButtonEnabled(int32_t id, bool enabled) { Button(id).SetEnabled(enabled); }
    // The button's Boolean state (a pressed two-state button).
    bool ButtonValue(int32_t id) const { return Button(id).Value(); }

    // User action: clicks the button of that id; `flag` is the host's
    // alternate click. False when refused (disabled, hidden, out of reach).
    bool ClickButton(int32_t id, bool flag = false);
    // Raised for every click with the id and the flag.
    std::function<void(int32_t id, bool flag)> OnButtonClick;

    // The status field: a result status number (0 not evaluated, 1 passed,
    // 2 failed, 3 not applicable) shown as its text, or a text of its own.
    int32_t Status() const { return status_; }
    void SetStatus(int32_t status);
    void SetStatusText(std::string text);
    std::string StatusText() const { return lblStatus.Caption(); }

    // The busy indicator: shown and running while the window is busy.
    plat::ui::ProgressBar& Busy() { return prgBusy; }

    // Whether the selector shows a standard, and which (empty texts when none).
    bool HasSelectedStandard() const;
    SelectedStandard GetSelectedStandard() const;
    std::function<void()> OnStandardChanged;

    // Lays the children out across the given width (twips); done on every
    // change of its size. The selector is as wide as its longest standard.
    void Arrange(int32_t width);
    // The width (twips) that shows every button and the whole selector.
    int32_t MinimumWidth() const;

private:
    int32_t SelectorWidth() const;
    int32_t RightPartWidth() const;
    void cboStandard_Click();
    void tbrButtons_ButtonClick(plat::ui::ToolbarButton& button);

    plat::ui::Toolbar& tbrButtons = Add<plat::ui::Toolbar>("tbrButtons");
    plat::ui::Label& lblStandard = Add<plat::ui::Label>("lblStandard");
    plat::ui::ComboBox& cboStandard = Add<plat::ui::ComboBox>("cboStandard");
    plat::ui::Label& lblStatus = Add<plat::ui::Label>("lblStatus");
    plat::ui::ProgressBar& prgBusy = Add<plat::ui::ProgressBar>("prgBusy");

    struct Entry {
        std::string name;
        std::string text;
    };
    std::vector<Entry> standards_;
    int32_t setupFirst_ = 0;
    int32_t setupSecond_ = 0;
    int32_t status_ = 0;
    bool pendingFlag_ = false;
};

}  // namespace host
