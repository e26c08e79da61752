#pragma once
// A scripted test operator: a queue of steps that it carries out as a person
// would, when the message loop is idle. Window steps wait until their window
// is shown and in front (no other modal window over it), then act through the
// user actions of the UI layer; message steps answer the next message box.
//
//   plat::VirtualTimeScope time;
//   plat::ui::test::ScriptedOperator op;
//   op.Type("frmSave", "tbOximeter", "Acme")
//     .Click("frmSave", "cmdAccept")
//     .Answer(plat::ui::vbOK, "in use");
//   dlg.Show(plat::ui::ShowMode::Modal);
//
// Control names may be paths into embeddable controls: "xmdMtiData.txtSerial";
// the controls of a page docked into the window are found as the window's own.
// A step that cannot be carried out (no such window or control, the control
// refuses the action) throws OperatorError from the loop and is recorded; an
// unexpected message box is recorded and answered with its default button.
// When the operator goes out of scope it reports, as GoogleTest failures, the
// recorded errors and steps left undone (unless AllowUnfinished()).
// A modal window that waits while the operator cannot act fails with
// plat::ui::ModalStall, whose message says what the operator waits for.

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/ui/form.h"
#include "platform/ui/msgbox.h"
#include "platform/values/abort_error.h"

namespace plat::ui::test {

class OperatorError : public plat::AbortError {
public:
    using AbortError::AbortError;
};

class ScriptedOperator {
public:
    // Installs itself on the thread's current message loop (so make it after
    // the test's VirtualTimeScope), as the message box service and as the note
    // of modal stalls; the destructor restores them.
    ScriptedOperator();
    ~ScriptedOperator();
    ScriptedOperator(const ScriptedOperator&) = delete;
    ScriptedOperator& operator=(const ScriptedOperator&) = delete;

    // Window steps.
    ScriptedOperator& Click(std::string window, std::string control);
    ScriptedOperator& Type(std::string window, std::string control, std::string text);
    ScriptedOperator& EnterText(std::string window, std::string control, std::string text);
    ScriptedOperator& Pick(std::string window, std::string control, int32_t index);
    ScriptedOperator& PickText(std::string window, std::string control, std::string text);
    ScriptedOperator& Focus(std::string window, std::string control);
    // Presses and releases a key in a control (key codes in platform/ui/keys.h).
    ScriptedOperator& PressKey(std::string window, std::string control, int32_t keyCode, int32_t shift = 0);
    ScriptedOperator& PressTab(std::string window, bool shift = false);
    // Tree: click a node / its plus or minus.
    ScriptedOperator& ClickNode(std::string window, std::string tree, std::string key);
    ScriptedOperator& ToggleNode(std::string window, std::string tree, std::string key);
    // Toolbar: click a button by key or by 1-based index.
    ScriptedOperator& ClickButton(std::string window, std::string toolbar, std::string key);
    ScriptedOperator& ClickButton(std::string window, std::string toolbar, int32_t index);
    // Grid: click a cell; type into the open cell editor ("\r" is Enter, "\x1b" Esc).
    ScriptedOperator& ClickCell(std::string window, std::string grid, int32_t row, int32_t col, int32_t button = 1);
    ScriptedOperator& TypeInCell(std::string window, std::string grid, std::string text);
    ScriptedOperator& PressEnter(std::string window);
    ScriptedOperator& PressEscape(std::string window);
    ScriptedOperator& Close(std::string window);
    // Any action on the shown window (checks of what it shows, several actions).
    ScriptedOperator& Do(std::string window, std::string description, std::function<void(Form&)> action);

    // Message step: answers the next message box; when `expectText` is not
    // empty the prompt must contain it.
    ScriptedOperator& Answer(int32_t answer, std::string expectText = {});

    bool Done() const { return steps_.empty(); }
    // What the next step is ("" when none).
    std::string Pending() const;
    // Every message box shown while installed, in order.
    const std::vector<MessageBoxRequest>& Messages() const { return messages_; }
    // Errors recorded so far (failed steps, unexpected messages).
    const std::vector<std::string>& Errors() const { return errors_; }
    // Forgets the recorded errors (a test that expected them has checked them).
    void ClearErrors() { errors_.clear(); }
    // Do not report steps left undone at the end.
    void AllowUnfinished() { allowUnfinished_ = true; }
    // Answers message boxes that no Answer step waits for (an operator that
    // improvises, such as a fuzzer), instead of recording them as errors.
    void SetImprovisedAnswer(std::function<int32_t(const MessageBoxRequest&)> answer) {
        improvisedAnswer_ = std::move(answer);
    }

    // Finds a control of the window by name or dotted path (looking into pages
    // docked into it too); nullptr when none.
    static Control* FindControl(Form& form, const std::string& path);

private:
    struct Step {
        bool message = false;
        std::string window;
        std::string description;
        std::function<void(Form&)> action;
        int32_t answer = 0;
        std::string expectText;
    };
    class MessageAnswerer;
    ScriptedOperator& Enqueue(Step step);
    template <class T>
    ScriptedOperator& ControlStep(std::string window, std::string control, std::string what,
                                  std::function<bool(T&)> act);
    bool OnIdle();
    void Run(const Step& step);
    int32_t OnMessage(const MessageBoxRequest& request);
    [[noreturn]] void Fail(const std::string& error);

    std::deque<Step> steps_;
    std::vector<MessageBoxRequest> messages_;
    std::vector<std::string> errors_;
    bool allowUnfinished_ = false;
    std::function<int32_t(const MessageBoxRequest&)> improvisedAnswer_;
    uint64_t idleId_ = 0;
    std::shared_ptr<bool> alive_;
    std::shared_ptr<MessageBoxService> previousService_;
};

}  // namespace plat::ui::test
