#include "tests/support/ui/scripted_operator.h"

#include <gtest/gtest.h>

#include "platform/loop/message_loop.h"
#include "platform/ui/grid.h"
#include "platform/ui/toolbar.h"
#include "platform/ui/tree_view.h"

namespace plat::ui::test {

class ScriptedOperator::MessageAnswerer final : public MessageBoxService {
public:
    explicit MessageAnswerer(ScriptedOperator& op) : op_(op) {}
    int32_t Answer(const MessageBoxRequest& request) override { return op_.OnMessage(request); }
private:
    ScriptedOperator& op_;
};

ScriptedOperator::ScriptedOperator() : alive_(std::make_shared<bool>(true)) {
    idleId_ = MessageLoop::Current().AddIdleHandler([this] { return OnIdle(); });
    previousService_ = SetMessageBoxService(std::make_shared<MessageAnswerer>(*this));
    Form::SetStallNote([this] {
        const std::string next = Pending();
        return next.empty() ? std::string("the operator has no steps left") : "the operator waits to " + next;
    });
}

ScriptedOperator::~ScriptedOperator() {
    *alive_ = false;
    MessageLoop::Current().RemoveIdleHandler(idleId_);
    SetMessageBoxService(previousService_);
    Form::SetStallNote({});
    for (const auto& e : errors_) ADD_FAILURE() << "Scripted operator: " << e;
    if (!allowUnfinished_ && !steps_.empty())
        ADD_FAILURE() << "Scripted operator: " << steps_.size() << " step(s) left undone, the next: " << Pending();
}

std::string ScriptedOperator::Pending() const {
    if (steps_.empty()) return {};
    const Step& s = steps_.front();
    if (s.message) return "answer a message box with " + std::to_string(s.answer) +
                          (s.expectText.empty() ? std::string() : " (one saying \"" + s.expectText + "\")");
    return s.description + " on the window \"" + s.window + "\"";
}

ScriptedOperator& ScriptedOperator::Enqueue(Step step) {
    steps_.push_back(std::move(step));
    return *this;
}

namespace {

// The control of that name in `host` or in a page docked into it (at any depth).
Control* FindIn(ControlHost& host, std::string_view name) {
    if (Control* c = host.Controls().Find(name)) return c;
    for (ControlHost* docked : AllHosts())
        if (docked->DockParent() == &host)
            if (Control* c = FindIn(*docked, name)) return c;
    return nullptr;
}

}  // namespace

Control* ScriptedOperator::FindControl(Form& form, const std::string& path) {
    ControlHost* host = &form;
    size_t start = 0;
    while (true) {
        const size_t dot = path.find('.', start);
        Control* c = FindIn(*host, std::string_view(path).substr(start, dot - start));
        if (!c || dot == std::string::npos) return c;
        auto* extender = dynamic_cast<ObjectControl*>(c);
        auto uc = extender ? extender->ObjectAs<UserControl>() : nullptr;
        if (!uc) return nullptr;
        host = uc.get();
        start = dot + 1;
    }
}

template <class T>
ScriptedOperator& ScriptedOperator::ControlStep(std::string window, std::string control, std::string what,
                                                std::function<bool(T&)> act) {
    Step step;
    step.window = window;
    step.description = what + " \"" + control + "\"";
    step.action = [this, control, what, act](Form& form) {
        Control* c = FindControl(form, control);
        if (!c) Fail("the window \"" + form.Name() + "\" has no control \"" + control + "\"");
        T* typed = dynamic_cast<T*>(c);
        if (!typed) Fail("cannot " + what + " \"" + control + "\" on \"" + form.Name() + "\": wrong kind of control");
        if (!act(*typed))
            Fail("could not " + what + " \"" + control + "\" on \"" + form.Name() +
                 "\": it refused (disabled, hidden, locked or out of range)");
    };
    return Enqueue(std::move(step));
}

ScriptedOperator& ScriptedOperator::Click(std::string window, std::string control) {
    return ControlStep<Control>(std::move(window), std::move(control), "click", [](Control& c) {
        if (auto* b = dynamic_cast<CommandButton*>(&c)) return b->Click();
        if (auto* k = dynamic_cast<CheckBox*>(&c)) return k->Click();
        if (auto* o = dynamic_cast<OptionButton*>(&c)) return o->Click();
        return false;
    });
}

ScriptedOperator& ScriptedOperator::Type(std::string window, std::string control, std::string text) {
    return ControlStep<TextBox>(std::move(window), std::move(control), "type \"" + text + "\" into",
                                [text](TextBox& t) { return t.TypeText(text); });
}

ScriptedOperator& ScriptedOperator::EnterText(std::string window, std::string control, std::string text) {
    return ControlStep<Control>(std::move(window), std::move(control), "enter \"" + text + "\" into",
                                [text](Control& c) {
                                    if (auto* t = dynamic_cast<TextBox*>(&c)) return t->EnterText(text);
                                    if (auto* b = dynamic_cast<ComboBox*>(&c)) return b->EnterText(text);
                                    if (auto* g = dynamic_cast<Grid*>(&c)) return g->EnterEditText(text);
                                    return false;
                                });
}

ScriptedOperator& ScriptedOperator::Pick(std::string window, std::string control, int32_t index) {
    return ControlStep<ListControl>(std::move(window), std::move(control), "pick item " + std::to_string(index) + " of",
                                    [index](ListControl& l) { return l.PickItem(index); });
}

ScriptedOperator& ScriptedOperator::PickText(std::string window, std::string control, std::string text) {
    return ControlStep<ListControl>(std::move(window), std::move(control), "pick \"" + text + "\" in",
                                    [text](ListControl& l) { return l.PickText(text); });
}

ScriptedOperator& ScriptedOperator::Focus(std::string window, std::string control) {
    return ControlStep<Control>(std::move(window), std::move(control), "focus",
                                [](Control& c) { return c.UserFocus(); });
}

ScriptedOperator& ScriptedOperator::PressKey(std::string window, std::string control, int32_t keyCode,
                                             int32_t shift) {
    return ControlStep<Control>(std::move(window), std::move(control), "press key " + std::to_string(keyCode) + " in",
                                [keyCode, shift](Control& c) { return c.PressKey(keyCode, shift); });
}

ScriptedOperator& ScriptedOperator::ClickNode(std::string window, std::string tree, std::string key) {
    return ControlStep<TreeView>(std::move(window), std::move(tree), "click node \"" + key + "\" of",
                                 [key](TreeView& t) { return t.ClickNode(key); });
}

ScriptedOperator& ScriptedOperator::ToggleNode(std::string window, std::string tree, std::string key) {
    return ControlStep<TreeView>(std::move(window), std::move(tree), "expand or collapse node \"" + key + "\" of",
                                 [key](TreeView& t) { return t.ToggleNode(key); });
}

ScriptedOperator& ScriptedOperator::ClickButton(std::string window, std::string toolbar, std::string key) {
    return ControlStep<Toolbar>(std::move(window), std::move(toolbar), "click button \"" + key + "\" of",
                                [key](Toolbar& t) { return t.ClickButton(std::string_view(key)); });
}

ScriptedOperator& ScriptedOperator::ClickButton(std::string window, std::string toolbar, int32_t index) {
    return ControlStep<Toolbar>(std::move(window), std::move(toolbar), "click button " + std::to_string(index) + " of",
                                [index](Toolbar& t) { return t.ClickButton(index); });
}

ScriptedOperator& ScriptedOperator::ClickCell(std::string window, std::string grid, int32_t row, int32_t col,
                                              int32_t button) {
    return ControlStep<Grid>(std::move(window), std::move(grid),
                             "click cell (" + std::to_string(row) + ", " + std::to_string(col) + ") of",
                             [row, col, button](Grid& g) { return g.ClickCell(row, col, button); });
}

ScriptedOperator& ScriptedOperator::TypeInCell(std::string window, std::string grid, std::string text) {
    return ControlStep<Grid>(std::move(window), std::move(grid), "type \"" + text + "\" into the cell editor of",
                             [text](Grid& g) { return g.TypeEditText(text); });
}

ScriptedOperator& ScriptedOperator::PressTab(std::string window, bool shift) {
    return Do(std::move(window), shift ? "press Shift+Tab" : "press Tab", [this, shift](Form& f) {
        if (!f.PressTab(shift)) Fail("Tab on \"" + f.Name() + "\" found no control to move to");
    });
}

ScriptedOperator& ScriptedOperator::PressEnter(std::string window) {
    return Do(std::move(window), "press Enter", [this](Form& f) {
        if (!f.PressEnter()) Fail("Enter on \"" + f.Name() + "\" clicked no button");
    });
}

ScriptedOperator& ScriptedOperator::PressEscape(std::string window) {
    return Do(std::move(window), "press Esc", [this](Form& f) {
        if (!f.PressEscape()) Fail("Esc on \"" + f.Name() + "\" clicked no button");
    });
}

ScriptedOperator& ScriptedOperator::Close(std::string window) {
    return Do(std::move(window), "close", [this](Form& f) {
        if (!f.UserClose() && f.Loaded() && f.Visible()) Fail("\"" + f.Name() + "\" did not close");
    });
}

ScriptedOperator& ScriptedOperator::Do(std::string window, std::string description,
                                       std::function<void(Form&)> action) {
    Step step;
    step.window = std::move(window);
    step.description = std::move(description);
    step.action = std::move(action);
    return Enqueue(std::move(step));
}

ScriptedOperator& ScriptedOperator::Answer(int32_t answer, std::string expectText) {
    Step step;
    step.message = true;
    step.answer = answer;
    step.expectText = std::move(expectText);
    return Enqueue(std::move(step));
}

bool ScriptedOperator::OnIdle() {
    if (steps_.empty() || steps_.front().message) return false;
    Form* form = FindForm(steps_.front().window);
    if (!form || !form->IsInteractive()) return false;
    // The action runs as a posted task, not inside this idle handler: it may
    // show a modal window whose loop needs this operator again.
    Step step = std::move(steps_.front());
    steps_.pop_front();
    MessageLoop::Current().Post([this, step = std::move(step), alive = alive_] {
        if (*alive) Run(step);
    });
    return true;
}

void ScriptedOperator::Run(const Step& step) {
    Form* form = FindForm(step.window);
    if (!form || !form->IsInteractive()) Fail("the window \"" + step.window + "\" went away before " + step.description);
    step.action(*form);
}

int32_t ScriptedOperator::OnMessage(const MessageBoxRequest& request) {
    messages_.push_back(request);
    if (steps_.empty() || !steps_.front().message) {
        if (improvisedAnswer_) return improvisedAnswer_(request);
        errors_.push_back("unexpected message box \"" + request.prompt + "\" (title \"" + request.title +
                          "\") while the next step is: " + (steps_.empty() ? std::string("none") : Pending()));
        return request.DefaultAnswer();
    }
    Step step = std::move(steps_.front());
    steps_.pop_front();
    if (!step.expectText.empty() && request.prompt.find(step.expectText) == std::string::npos)
        errors_.push_back("message box \"" + request.prompt + "\" does not say \"" + step.expectText + "\"");
    return step.answer;
}

void ScriptedOperator::Fail(const std::string& error) {
    errors_.push_back(error);
    throw OperatorError("Scripted operator: " + error);
}

}  // namespace plat::ui::test
