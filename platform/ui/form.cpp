#include "platform/ui/form.h"

#include <algorithm>

#include "platform/loop/loop_wait.h"
#include "platform/loop/message_loop.h"
#include "platform/ui/renderer.h"
#include "platform/ui/toolbar.h"
#include "platform/values/text.h"

namespace plat::ui {

namespace {

// The windows of this thread (the UI thread's loop is per thread too).
thread_local std::vector<Form*> loadedForms;
thread_local std::vector<Form*> modalForms;
thread_local std::function<std::string()> stallNote;

void Erase(std::vector<Form*>& list, const Form* form) {
    list.erase(std::remove(list.begin(), list.end(), form), list.end());
}

// A window's first focus never lands on a toolbar: its buttons act with a
// click and leave the focus where the work is, so the keys typed first go to
// the window's fields; Tab reaches the toolbar.
bool TakesFirstFocus(const Control* c) { return c->IsAvailable() && !dynamic_cast<const Toolbar*>(c); }

}  // namespace

// --- Form ---------------------------------------------------------------------------

Form::Form(std::string name) : name_(std::move(name)) {}

Form::~Form() {
    Destroying();
    Erase(loadedForms, this);
    Erase(modalForms, this);
    ClearFocus();
}

void Form::SetCaption(std::string caption) {
    if (caption == caption_) return;
    caption_ = std::move(caption);
    NotifyHostChanged();
}

void Form::SetEnabled(bool on) {
    if (on == enabled_) return;
    enabled_ = on;
    NotifyHostChanged();
}

void Form::SetBackColor(Color color) {
    if (color == backColor_) return;
    backColor_ = color;
    NotifyHostChanged();
}

void Form::SetIcon(Picture icon) {
    if (icon == icon_) return;
    icon_ = std::move(icon);
    NotifyHostChanged();
}

void Form::Move(int32_t left, int32_t top, int32_t width, int32_t height) {
    if (left != left_ || top != top_) {
        left_ = left;
        top_ = top;
        NotifyHostChanged();
    }
    SetInnerSize(std::max(0, width - kFrameWidth), std::max(0, height - kFrameHeight));
}

void Form::SetInnerSize(int32_t scaleWidth, int32_t scaleHeight) {
    scaleWidth = std::max(0, scaleWidth);
    scaleHeight = std::max(0, scaleHeight);
    if (scaleWidth == scaleWidth_ && scaleHeight == scaleHeight_) return;
    scaleWidth_ = scaleWidth;
    scaleHeight_ = scaleHeight;
    NotifyHostChanged();
    if (loaded_) Fire(OnResize);
}

void Form::Load() {
    if (loaded_) return;
    loaded_ = true;
    resizedSinceLoad_ = false;
    loadedForms.push_back(this);
    if (Renderer* r = CurrentRenderer()) r->FormLoaded(*this);
    Fire(OnLoad);
}

void Form::Show(ShowMode mode) {
    if (modal_) throw UiError("The window \"" + name_ + "\" is already shown modally");
    Load();
    if (!loaded_) return;  // its Load handler unloaded it
    const bool wasVisible = visible_;
    visible_ = true;
    if (!wasVisible || mode == ShowMode::Modal)
        if (Renderer* r = CurrentRenderer()) r->FormShown(*this, mode == ShowMode::Modal);
    if (!resizedSinceLoad_) {
        resizedSinceLoad_ = true;
        Fire(OnResize);
    }
    if (!ActiveControl()) {
        // As a shown window does: the focus goes to the first control in tab order that takes it.
        for (Control* c : TabOrder())
            if (TakesFirstFocus(c)) {
                c->SetFocus();
                break;
            }
    }
    if (mode == ShowMode::Modal && visible_ && loaded_) RunModal();
}

void Form::RunModal() {
    struct ModalScope {
        Form* form;
        explicit ModalScope(Form* f) : form(f) {
            form->modal_ = true;
            modalForms.push_back(form);
        }
        ~ModalScope() {
            form->modal_ = false;
            Erase(modalForms, form);
        }
    } scope(this);
    plat::LoopWait wait([this](const std::string& reason) {
        std::string message = "The modal window \"" + name_ + "\"";
        if (!caption_.empty()) message += " (\"" + caption_ + "\")";
        message += " waits for input, but " + reason;
        if (stallNote) {
            const std::string note = stallNote();
            if (!note.empty()) message += "; " + note;
        }
        throw ModalStall(message);
    });
    while (visible_ && loaded_) wait.Pump();
}

void Form::Hide() {
    if (!visible_) return;
    visible_ = false;
    if (Renderer* r = CurrentRenderer()) r->FormHidden(*this);
}

bool Form::Unload() { return DoUnload(UnloadMode::Code); }

bool Form::DoUnload(UnloadMode mode) {
    if (!loaded_) return true;
    bool cancel = false;
    Fire(OnQueryUnload, cancel, mode);
    if (cancel) return false;
    Fire(OnUnload, cancel);
    if (cancel) return false;
    if (!loaded_) return true;  // a handler unloaded it already
    Hide();
    loaded_ = false;
    ClearFocus(true);
    RemoveRunTimeControls();
    Erase(loadedForms, this);
    if (Renderer* r = CurrentRenderer()) r->FormUnloaded(*this);
    return true;
}

bool Form::UserClose() {
    // A window docked into another has no close box of its own.
    if (!IsInteractive() || DockParent()) return false;
    return DoUnload(UnloadMode::ControlMenu);
}

bool Form::PressEnter() {
    if (!IsInteractive()) return false;
    if (Control* focused = ActiveControl(); focused && focused->TakeDialogKey(vbKeyReturn)) return true;
    if (auto* focused = dynamic_cast<CommandButton*>(ActiveControl())) return focused->Click();
    for (const auto& c : Controls())
        if (auto* b = dynamic_cast<CommandButton*>(c.get()); b && b->Default()) return b->Click();
    return false;
}

bool Form::PressEscape() {
    if (!IsInteractive()) return false;
    if (Control* focused = ActiveControl(); focused && focused->TakeDialogKey(vbKeyEscape)) return true;
    for (const auto& c : Controls())
        if (auto* b = dynamic_cast<CommandButton*>(c.get()); b && b->Cancel()) return b->Click();
    return false;
}

bool Form::IsInteractive() const {
    if (!loaded_ || !visible_ || !enabled_) return false;
    if (DockParent()) return DockParent()->HostInteractive();
    return modalForms.empty() || modalForms.back() == this;
}

bool Form::HostAvailable() const {
    return loaded_ && visible_ && enabled_ && (!DockParent() || DockParent()->HostAvailable());
}

ControlHost& Form::FocusRoot() { return DockParent() ? DockParent()->FocusRoot() : *this; }

namespace {

void CollectTabOrder(const ControlHost& host, std::vector<Control*>& out) {
    std::vector<Control*> controls;
    for (const auto& c : host.Controls()) controls.push_back(c.get());
    std::stable_sort(controls.begin(), controls.end(),
                     [](const Control* a, const Control* b) { return a->TabIndex() < b->TabIndex(); });
    for (Control* c : controls) {
        auto* extender = dynamic_cast<ObjectControl*>(c);
        auto page = extender ? extender->ObjectAs<UserControl>() : nullptr;
        if (page && !page->DockParent())
            CollectTabOrder(*page, out);
        else if (c->CanTakeFocus() && c->TabStop())
            out.push_back(c);
    }
    for (ControlHost* docked : AllHosts())
        if (docked->DockParent() == &host) CollectTabOrder(*docked, out);
}

}  // namespace

std::vector<Control*> Form::TabOrder() const {
    std::vector<Control*> out;
    CollectTabOrder(*this, out);
    return out;
}

bool Form::SetFocus() {
    if (!HostAvailable()) return false;
    if (ActiveControl()) return true;
    for (Control* c : TabOrder())
        if (TakesFirstFocus(c) && c->SetFocus()) return true;
    Fire(OnGotFocus);
    return true;
}

bool Form::UserActivate() { return IsInteractive() && SetFocus(); }

bool Form::PressTab(bool shift) {
    if (!IsInteractive()) return false;
    std::vector<Control*> order = TabOrder();
    std::erase_if(order, [](Control* c) { return !c->IsInteractive(); });
    if (order.empty()) return false;
    const auto n = static_cast<int64_t>(order.size());
    const auto at = std::find(order.begin(), order.end(), ActiveControl());
    int64_t next = 0;
    if (at != order.end())
        next = ((at - order.begin()) + (shift ? n - 1 : 1)) % n;
    else if (shift)
        next = n - 1;
    return order[static_cast<size_t>(next)]->UserFocus();
}

void Form::SetStallNote(std::function<std::string()> note) { stallNote = std::move(note); }

// --- Registry of windows -------------------------------------------------------------

std::vector<Form*> LoadedForms() { return loadedForms; }

Form* FindForm(std::string_view name) {
    for (auto it = loadedForms.rbegin(); it != loadedForms.rend(); ++it)
        if (EqualsNoCase((*it)->Name(), name)) return *it;
    return nullptr;
}

Form* TopModalForm() { return modalForms.empty() ? nullptr : modalForms.back(); }

}  // namespace plat::ui
