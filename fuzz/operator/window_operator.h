#pragma once
// An operator who improvises from the fuzzer's input: at every idle moment it
// picks the window in front and one thing a person could do there now (click
// an enabled control, type or paste a text, a key, a list, tree or toolbar
// pick, a grid cell, Enter, Esc, Tab, the close box) and does it through the
// scripted operator; message boxes get an answer the input chooses. Between
// actions the target's check runs. When the input is spent it closes what is
// open (Esc, the close box, answering No where asked).
//
// A failed check, a stall of the loop, or a failure escaping a window is a
// finding: the actions so far are printed as the reproducer and the process
// aborts, so that libFuzzer keeps the input. With ORVIK_OPERATOR_TRACE set in
// the environment every action is printed as it runs (to replay a corpus input).

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "fuzz/operator/action_source.h"
#include "platform/ui/form.h"
#include "tests/support/ui/scripted_operator.h"

namespace fuzz_operator {

// The action carried out last.
struct Action {
    std::string window;
    std::string control;       // "" for window-wide keys and the close box
    std::string verb;          // "click", "type", "paste", "pick", "key", "cell", "enter", "escape", "tab", "close"
    std::vector<int32_t> answers;  // message boxes answered while it ran
    // The action could only end the cell edit in its own grid (Enter, Esc,
    // Tab, typing, a click on another cell or control), not change what the window shows.
    bool local = false;
};

class WindowOperator {
public:
    explicit WindowOperator(ActionSource& input);
    ~WindowOperator();
    WindowOperator(const WindowOperator&) = delete;
    WindowOperator& operator=(const WindowOperator&) = delete;

    // Runs between actions (and once the session ends).
    void SetCheck(std::function<void()> check) { check_ = std::move(check); }
    // Carries out the session until `finished` holds (the windows under test
    // are gone); a stall or a failure escaping a window is a finding.
    void Run(const std::function<bool()>& finished);
    // The same around code that shows a window modally itself (a test run):
    // the operator acts while `body` waits in the window's loop.
    void Drive(const std::function<void()>& body);

    const Action& Last() const { return last_; }
    // Whether a message box asked during the last action was answered with `answer`.
    bool Answered(int32_t answer) const;
    // Reports a finding with the reproducer and aborts.
    [[noreturn]] void Finding(const std::string& what) const;

private:
    bool OnIdle();
    plat::ui::Form* Front() const;
    void Plan(plat::ui::Form& form);
    void PlanClose(plat::ui::Form& form);
    void PlanControl(plat::ui::Form& form, plat::ui::Control& control, const std::string& path);
    void Enqueue(const std::string& window, Action action, std::string description,
                 std::function<void(plat::ui::Form&)> act);
    int32_t AnswerMessage(const plat::ui::MessageBoxRequest& request);

    ActionSource& input_;
    plat::ui::test::ScriptedOperator op_;
    std::function<void()> check_;
    uint64_t idleId_ = 0;
    uint64_t enqueued_ = 0;
    uint64_t started_ = 0;
    bool checked_ = true;
    Action last_;
    std::vector<std::string> log_;  // the reproducer
    int32_t closeAttempts_ = 0;
    bool trace_ = false;  // ORVIK_OPERATOR_TRACE set: each action printed as it runs
};

}  // namespace fuzz_operator
