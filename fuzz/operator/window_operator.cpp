#include "fuzz/operator/window_operator.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <utility>

#include "fuzz/operator/action_rate.h"
#include "platform/loop/message_loop.h"
#include "platform/ui/controls.h"
#include "platform/ui/grid.h"
#include "platform/ui/keys.h"
#include "platform/ui/toolbar.h"
#include "platform/ui/tree_view.h"

namespace fuzz_operator {

using plat::ui::Control;
using plat::ui::ControlHost;
using plat::ui::Form;

namespace {

// Past this many tries (Esc and the close box by turns, answering No) a
// window that will not close is closed by code, so that the next input starts clean.
constexpr int32_t kCloseAttempts = 8;

// Every control a person could reach now, with its path from the window
// ("xrvResult.tlstGrid"), looking into embeddable controls and docked pages.
void Reachable(ControlHost& host, const std::string& prefix, std::vector<std::pair<Control*, std::string>>& out) {
    for (const auto& c : host.Controls()) {
        if (auto* extender = dynamic_cast<plat::ui::ObjectControl*>(c.get())) {
            if (auto uc = extender->ObjectAs<plat::ui::UserControl>()) Reachable(*uc, prefix + c->Name() + ".", out);
            continue;
        }
        // Labels, frames and image lists do nothing when clicked.
        const bool acts = c->CanTakeFocus() || dynamic_cast<plat::ui::Toolbar*>(c.get());
        if (acts && c->IsInteractive()) out.emplace_back(c.get(), prefix + c->Name());
    }
    for (ControlHost* docked : plat::ui::AllHosts())
        if (docked->DockParent() == &host) Reachable(*docked, prefix, out);
}

// Backspace comes often: emptying a value takes one press per character.
const int32_t kKeys[] = {plat::ui::vbKeyUp,   plat::ui::vbKeyDown, plat::ui::vbKeyLeft,   plat::ui::vbKeyRight,
                         plat::ui::vbKeyHome, plat::ui::vbKeyEnd,  plat::ui::vbKeyDelete, plat::ui::vbKeyBack,
                         plat::ui::vbKeySpace, plat::ui::vbKeyPageDown, plat::ui::vbKeyBack, plat::ui::vbKeyBack};

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// Typing goes key by key, so only printable ASCII is typed; the rest comes as a paste.
bool Typeable(const std::string& text) {
    for (unsigned char ch : text)
        if (ch < 0x20 || ch >= 0x7f) return false;
    return true;
}

}  // namespace

WindowOperator::WindowOperator(ActionSource& input)
    : input_(input), trace_(std::getenv("ORVIK_OPERATOR_TRACE") != nullptr) {
    op_.AllowUnfinished();
    op_.SetImprovisedAnswer([this](const plat::ui::MessageBoxRequest& r) { return AnswerMessage(r); });
    idleId_ = plat::MessageLoop::Current().AddIdleHandler([this] { return OnIdle(); });
}

WindowOperator::~WindowOperator() {
    plat::MessageLoop::Current().RemoveIdleHandler(idleId_);
    op_.ClearErrors();
}

bool WindowOperator::Answered(int32_t answer) const {
    for (int32_t a : last_.answers)
        if (a == answer) return true;
    return false;
}

void WindowOperator::Finding(const std::string& what) const {
    std::fprintf(stderr, "\n==== operator fuzzer finding: %s\n---- actions:\n", what.c_str());
    for (const auto& line : log_) std::fprintf(stderr, "  %s\n", line.c_str());
    std::fprintf(stderr, "----\n");
    std::abort();
}

void WindowOperator::Run(const std::function<bool()>& finished) {
    Drive([&] { plat::MessageLoop::Current().RunUntil(finished); });
}

void WindowOperator::Drive(const std::function<void()>& body) {
    try {
        body();
        // The last action ran as a posted task; let what it queued run too.
        while (plat::MessageLoop::Current().DoEventsNoWait()) {
        }
    } catch (const plat::AbortError& e) {
        Finding(std::string("stall or operator failure: ") + e.what());
    } catch (const std::exception& e) {
        Finding(std::string("failure escaped a window: ") + e.what());
    }
    if (check_) check_();
}

Form* WindowOperator::Front() const {
    if (Form* modal = plat::ui::TopModalForm()) return modal;
    for (Form* form : plat::ui::LoadedForms())
        if (form->IsInteractive()) return form;
    return nullptr;
}

bool WindowOperator::OnIdle() {
    // One action at a time: wait while a step is queued or posted.
    if (!op_.Done() || started_ < enqueued_) return false;
    if (!checked_) {
        checked_ = true;
        if (check_) check_();
    }
    Form* form = Front();
    if (!form || !form->IsInteractive()) return false;
    if (input_.Exhausted()) PlanClose(*form);
    else Plan(*form);
    return true;
}

void WindowOperator::Enqueue(const std::string& window, Action action, std::string description,
                             std::function<void(Form&)> act) {
    ++enqueued_;
    op_.Do(window, description, [this, action = std::move(action), description, act = std::move(act)](Form& form) {
        ++started_;
        checked_ = false;
        last_ = action;
        log_.push_back(form.Name() + ": " + description);
        if (trace_) std::fprintf(stderr, "%s\n", log_.back().c_str());
        ActionRate::Instance().Count();
        act(form);
    });
}

void WindowOperator::PlanClose(Form& form) {
    Action action{form.Name(), "", "close", {}, false};
    if (++closeAttempts_ > kCloseAttempts) {
        closeAttempts_ = 0;
        Enqueue(form.Name(), action, "(closed by code: it would not close)", [](Form& f) {
            if (f.IsModal()) {
                f.Hide();
                return;
            }
            f.OnQueryUnload = nullptr;
            f.Unload();
        });
        return;
    }
    if (closeAttempts_ % 2) {
        action.verb = "escape";
        Enqueue(form.Name(), action, "press Esc", [](Form& f) { f.PressEscape(); });
    } else {
        Enqueue(form.Name(), action, "close box", [](Form& f) { f.UserClose(); });
    }
}

void WindowOperator::Plan(Form& form) {
    closeAttempts_ = 0;
    const int32_t what = input_.Byte() % 64;
    Action action{form.Name(), "", "", {}, false};
    action.local = true;
    if (what < 44) {
        std::vector<std::pair<Control*, std::string>> controls;
        Reachable(form, "", controls);
        if (!controls.empty()) {
            // Now and then the control that has the focus again, so that an
            // edit goes on (type, Backspace, paste) before the operator moves on.
            // An open cell editor holds the operator most of the time.
            Control* active = form.FocusRoot().ActiveControl();
            auto* editing = dynamic_cast<plat::ui::Grid*>(active);
            const bool stay = editing && editing->Editing() ? what % 4 != 3 : what % 4 == 0;
            size_t chosen = static_cast<size_t>(input_.Pick(static_cast<int32_t>(controls.size())));
            if (stay)
                for (size_t i = 0; i < controls.size(); ++i)
                    if (controls[i].first == active) chosen = i;
            const auto& [control, path] = controls[chosen];
            PlanControl(form, *control, path);
            return;
        }
    }
    if (what < 50) {
        action.verb = "enter";
        Enqueue(form.Name(), action, "press Enter", [](Form& f) { f.PressEnter(); });
    } else if (what < 54) {
        action.verb = "escape";
        Enqueue(form.Name(), action, "press Esc", [](Form& f) { f.PressEscape(); });
    } else if (what < 61) {
        const bool shift = what >= 59;
        action.verb = "tab";
        Enqueue(form.Name(), action, shift ? "press Shift+Tab" : "press Tab", [shift](Form& f) { f.PressTab(shift); });
    } else if (what == 61) {
        action.verb = "close";
        action.local = false;
        Enqueue(form.Name(), action, "close box", [](Form& f) { f.UserClose(); });
    } else {
        const int32_t key = kKeys[input_.Pick(std::size(kKeys))];
        action.verb = "key";
        Enqueue(form.Name(), action, "press key " + std::to_string(key) + " in the focused control", [key](Form& f) {
            if (Control* c = f.FocusRoot().ActiveControl()) c->PressKey(key);
        });
    }
}

void WindowOperator::PlanControl(Form& form, Control& control, const std::string& path) {
    const std::string window = form.Name();
    // Typing, keys, cells and moving the focus end an edit only; clicks on
    // buttons, picks and the like may change what the window shows.
    Action action{window, path, "", {}, false};
    action.local = true;
    auto find = [path](Form& f) { return plat::ui::test::ScriptedOperator::FindControl(f, path); };
    const int32_t how = input_.Byte();

    if (dynamic_cast<plat::ui::CommandButton*>(&control) || dynamic_cast<plat::ui::CheckBox*>(&control) ||
        dynamic_cast<plat::ui::OptionButton*>(&control)) {
        action.verb = "click";
        action.local = false;
        Enqueue(window, action, "click " + path, [find](Form& f) {
            Control* c = find(f);
            if (auto* b = dynamic_cast<plat::ui::CommandButton*>(c)) b->Click();
            else if (auto* k = dynamic_cast<plat::ui::CheckBox*>(c)) k->Click();
            else if (auto* o = dynamic_cast<plat::ui::OptionButton*>(c)) o->Click();
        });
        return;
    }
    if (dynamic_cast<plat::ui::TextBox*>(&control) || dynamic_cast<plat::ui::ComboBox*>(&control)) {
        auto* list = dynamic_cast<plat::ui::ComboBox*>(&control);
        if (list && how % 2 == 0) {
            const int32_t item = input_.Pick(list->ListCount() + 1);
            action.verb = "pick";
            action.local = false;
            Enqueue(window, action, "pick item " + std::to_string(item) + " of " + path, [find, item](Form& f) {
                if (auto* l = dynamic_cast<plat::ui::ListControl*>(find(f))) l->PickItem(item);
            });
            return;
        }
        const std::string text = input_.Text();
        switch (how % 8) {
        case 0: case 1: case 2:
            if (Typeable(text) && !list) {
                action.verb = "type";
                Enqueue(window, action, "type " + Quoted(text) + " into " + path, [find, text](Form& f) {
                    if (auto* t = dynamic_cast<plat::ui::TextBox*>(find(f))) t->TypeText(text);
                });
                return;
            }
            [[fallthrough]];
        case 3: case 4:
            action.verb = "paste";
            Enqueue(window, action, "paste " + Quoted(text) + " into " + path, [find, text](Form& f) {
                Control* c = find(f);
                if (auto* t = dynamic_cast<plat::ui::TextBox*>(c)) t->EnterText(text);
                else if (auto* b = dynamic_cast<plat::ui::ComboBox*>(c)) b->EnterText(text);
            });
            return;
        case 5:
            if (!list && input_.Pick(2) == 0) {
                action.verb = "type";
                Enqueue(window, action, "erase " + path, [find](Form& f) {
                    if (auto* t = dynamic_cast<plat::ui::TextBox*>(find(f))) {
                        t->UserFocus();
                        t->SetSelStart(static_cast<int32_t>(t->Text().size()));
                        for (size_t n = t->Text().size(); n > 0; --n) t->TypeKey(8);
                    }
                });
                return;
            }
            action.verb = "click";
            Enqueue(window, action, "click into " + path, [find](Form& f) {
                if (Control* c = find(f)) c->UserFocus();
            });
            return;
        default: {
            const int32_t key = kKeys[input_.Pick(std::size(kKeys))];
            action.verb = "key";
            action.local = !list;
            Enqueue(window, action, "press key " + std::to_string(key) + " in " + path, [find, key](Form& f) {
                if (Control* c = find(f)) c->PressKey(key);
            });
            return;
        }
        }
    }
    if (auto* grid = dynamic_cast<plat::ui::Grid*>(&control)) {
        // A closed grid is mostly clicked; an open cell editor mostly edited.
        const int32_t kind = grid->Editing() ? how % 8 : (how % 10 < 7 ? 4 : 7);
        switch (kind) {
        case 0: case 1: case 2: {
            const std::string text = input_.Text();
            const bool ascii = Typeable(text) && kind != 2;
            action.verb = ascii ? "type" : "paste";
            Enqueue(window, action, action.verb + " " + Quoted(text) + " in the cell editor of " + path,
                    [find, text, ascii](Form& f) {
                        if (auto* g = dynamic_cast<plat::ui::Grid*>(find(f))) {
                            if (ascii) g->TypeEditText(text);
                            else g->EnterEditText(text);
                        }
                    });
            return;
        }
        case 3:
            // Backspace held down: the open editor emptied key by key.
            action.verb = "type";
            Enqueue(window, action, "erase the cell editor of " + path, [find](Form& f) {
                if (auto* g = dynamic_cast<plat::ui::Grid*>(find(f)))
                    for (size_t n = g->EditText().size(); n > 0 && g->Editing(); --n) g->TypeEditKey(8);
            });
            return;
        case 4: {
            const int32_t row = input_.Pick(grid->Rows());
            const int32_t col = input_.Pick(grid->Cols());
            action.verb = "cell";
            Enqueue(window, action,
                    "click cell (" + std::to_string(row) + ", " + std::to_string(col) + ") of " + path,
                    [find, row, col](Form& f) {
                        if (auto* g = dynamic_cast<plat::ui::Grid*>(find(f))) g->ClickCell(row, col);
                    });
            return;
        }
        default: {
            const int32_t key = kKeys[input_.Pick(std::size(kKeys))];
            action.verb = "key";
            Enqueue(window, action, "press key " + std::to_string(key) + " in " + path, [find, key](Form& f) {
                if (auto* g = dynamic_cast<plat::ui::Grid*>(find(f))) {
                    // Backspace in an open editor is a typed key; the rest are key presses.
                    if (key == plat::ui::vbKeyBack && g->Editing()) g->TypeEditKey(8);
                    else g->PressKey(key);
                }
            });
            return;
        }
        }
    }
    action.local = false;
    if (auto* tree = dynamic_cast<plat::ui::TreeView*>(&control)) {
        const auto nodes = tree->VisibleNodes();
        if (!nodes.empty() && how % 3 != 2) {
            const std::string key = nodes[input_.Pick(static_cast<int32_t>(nodes.size()))]->Key();
            const bool toggle = how % 3 == 1;
            action.verb = "pick";
            Enqueue(window, action, (toggle ? "toggle node " : "click node ") + Quoted(key) + " of " + path,
                    [find, key, toggle](Form& f) {
                        if (auto* t = dynamic_cast<plat::ui::TreeView*>(find(f))) {
                            if (toggle) t->ToggleNode(key);
                            else t->ClickNode(key);
                        }
                    });
            return;
        }
        const int32_t key = kKeys[input_.Pick(4)];
        action.verb = "key";
        Enqueue(window, action, "press key " + std::to_string(key) + " in " + path, [find, key](Form& f) {
            if (Control* c = find(f)) c->PressKey(key);
        });
        return;
    }
    if (auto* bar = dynamic_cast<plat::ui::Toolbar*>(&control)) {
        const int32_t index = 1 + input_.Pick(bar->Count());
        action.verb = "click";
        Enqueue(window, action, "click button " + std::to_string(index) + " of " + path, [find, index](Form& f) {
            if (auto* t = dynamic_cast<plat::ui::Toolbar*>(find(f))) t->ClickButton(index);
        });
        return;
    }
    if (auto* list = dynamic_cast<plat::ui::ListControl*>(&control)) {
        const int32_t item = input_.Pick(list->ListCount() + 1);
        action.verb = "pick";
        Enqueue(window, action, "pick item " + std::to_string(item) + " of " + path, [find, item](Form& f) {
            if (auto* l = dynamic_cast<plat::ui::ListControl*>(find(f))) l->PickItem(item);
        });
        return;
    }
    action.verb = "click";
    Enqueue(window, action, "click into " + path, [find](Form& f) {
        if (Control* c = find(f)) c->UserFocus();
    });
}

int32_t WindowOperator::AnswerMessage(const plat::ui::MessageBoxRequest& request) {
    const auto answers = request.Answers();
    int32_t answer = request.DefaultAnswer();
    if (input_.Exhausted()) {
        // Closing up: leave without saving where asked.
        for (int32_t a : answers)
            if (a == plat::ui::vbNo) answer = a;
    } else {
        answer = answers[input_.Pick(static_cast<int32_t>(answers.size()))];
    }
    last_.answers.push_back(answer);
    log_.push_back("  answer " + std::to_string(answer) + " to " + Quoted(request.prompt));
    if (trace_) std::fprintf(stderr, "%s\n", log_.back().c_str());
    return answer;
}

}  // namespace fuzz_operator
