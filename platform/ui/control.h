#pragma once
// The base of every control on a window: name, container, enabled/visible,
// position, caption, colours, font and focus. The header also brings in the
// host side (control_host.h: the named-control collection of a window or
// embeddable control) and the extender of a control object added by ProgID.
//
// Two kinds of members:
//  - property setters and program calls (SetText, SetListIndex, SetValue, ...)
//    are what code does: they fire the events the original fires for them
//    (Change, Click) and never check enabled or visible;
//  - user actions (Click(), TypeKey, EnterText, PickItem, ...) are what a person
//    does: they return false and do nothing when the person could not reach the
//    control (it or a container, its window or embeddable control is disabled or
//    invisible, the window is not shown, or another modal window is in front).
//
// Event handlers are std::function members named On<Event>; an unset handler
// is no handler. A handler runs with its control kept alive, so it may remove
// its own control (see ControlCollection::Remove).

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/com/com.h"
#include "platform/ui/color.h"
#include "platform/ui/font.h"
#include "platform/values/variant.h"

namespace plat::ui {

// A misuse of the UI layer (unknown control name, duplicate name, bad index).
class UiError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Control;
class ControlHost;
class ObjectControl;
class Form;
class UserControl;
using ControlPtr = std::shared_ptr<Control>;

class Control : public std::enable_shared_from_this<Control> {
public:
    Control() = default;
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& Name() const { return name_; }
    // The window or embeddable control that holds it; nullptr once removed.
    ControlHost* Host() const { return host_; }
    // The container control (a frame) it sits in; nullptr when it sits on the host itself.
    Control* Container() const { return container_; }
    // Moves it into another container of the same host (nullptr: the host itself).
    void SetContainer(Control* container);
    virtual bool IsContainer() const { return false; }
    // Whether it lies in `ancestor`: inside it as a container, or in an
    // embeddable control that sits in it (at any depth).
    bool LiesIn(const Control* ancestor) const;
    // Whether it and every container it sits in are enabled and visible.
    bool ShownInHost() const;
    // Whether it belongs to `host` directly or through embedded (or docked) hosts.
    bool BelongsTo(const ControlHost* host) const;

    // Caption: labels, buttons, frames, check and option buttons have one.
    virtual bool HasCaption() const { return false; }
    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool on);
    bool Visible() const { return visible_; }
    void SetVisible(bool on);

    // Position and size in twips.
    int32_t Left() const { return left_; }
    int32_t Top() const { return top_; }
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    void Move(int32_t left, int32_t top, int32_t width, int32_t height);
    void Move(int32_t left, int32_t top) { Move(left, top, width_, height_); }
    int32_t TabIndex() const { return tabIndex_; }
    void SetTabIndex(int32_t index);

    const std::string& Tag() const { return tag_; }
    void SetTag(std::string tag) { tag_ = std::move(tag); }
    // Colours (see color.h) and font. Kinds that draw no text ignore the
    // fore colour and font; kinds with no back of their own ignore the back colour.
    Color BackColor() const { return backColor_; }
    void SetBackColor(Color color);
    Color ForeColor() const { return foreColor_; }
    void SetForeColor(Color color);
    const plat::ui::Font& Font() const { return font_; }
    void SetFont(plat::ui::Font font);
    const std::string& FontName() const { return font_.name; }
    void SetFontName(std::string name);
    double FontSize() const { return font_.size; }
    void SetFontSize(double points);
    bool FontBold() const { return font_.bold; }
    void SetFontBold(bool on);
    bool FontItalic() const { return font_.italic; }
    void SetFontItalic(bool on);

    // Whether a person could reach the control now (see the header comment).
    bool IsInteractive() const;
    // Whether code could give it the focus now: it and every container, its host
    // and window enabled and visible, the window shown.
    bool IsAvailable() const;

    // Focus. Kinds that never take the focus (labels, frames) say false here.
    virtual bool CanTakeFocus() const { return false; }
    // Gives it the focus (LostFocus of the previous holder, then GotFocus).
    // False, and no change, when it cannot take the focus now.
    bool SetFocus();
    bool HasFocus() const;
    // User action: a person moves the focus here (click, Tab). False when it
    // cannot be reached or cannot take the focus.
    bool UserFocus();
    // Whether Tab stops at it (when it can take the focus at all).
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool on) { tabStop_ = on; }
    std::function<void()> OnGotFocus;
    std::function<void()> OnLostFocus;

    // User actions: a key pressed or released while the control has the focus
    // (key codes and shift bits in keys.h). KeyDown moves the focus here, fires
    // OnKeyDown with the key code by reference (a handler sets 0 to stop the
    // control's own handling, such as a tree's arrow keys), then the control
    // handles the key. KeyUp fires OnKeyUp. False when refused or the control
    // cannot take the focus. A text box's typed characters also go through
    // these (see TextBox::TypeKey).
    bool KeyDown(int32_t keyCode, int32_t shift = 0);
    bool KeyUp(int32_t keyCode, int32_t shift = 0);
    // KeyDown then KeyUp.
    bool PressKey(int32_t keyCode, int32_t shift = 0);
    // Enter or Esc pressed on the window while the control has the focus: true
    // when the control used it (then the window's default or cancel button
    // does not act).
    virtual bool TakeDialogKey(int32_t /*keyAscii*/) { return false; }
    std::function<void(int32_t& keyCode, int32_t shift)> OnKeyDown;
    std::function<void(int32_t& keyCode, int32_t shift)> OnKeyUp;

protected:
    // Runs a handler on a copy, with the control kept alive.
    template <class... Params, class... Args>
    void Fire(const std::function<void(Params...)>& handler, Args&&... args) {
        if (!handler) return;
        auto keep = weak_from_this().lock();  // empty for a control made outside a host
        auto copy = handler;
        copy(std::forward<Args>(args)...);
    }
    // Called after the caption or the font changed.
    virtual void CaptionOrFontChanged() {}
    // Called after Visible changed.
    virtual void VisibilityChanged() {}
    // Called after Move changed the width or the height.
    virtual void SizeChanged() {}
    // The control's own handling of a key that OnKeyDown left non-zero.
    virtual void KeyAction(int32_t /*keyCode*/, int32_t /*shift*/) {}
    // Tells the installed renderer (if any) that what the control shows changed.
    void NotifyChanged();
    // The start of a user action: false when the person cannot reach the
    // control; otherwise moves the focus to it when `takeFocus` and it can.
    bool BeginUserAction(bool takeFocus);

private:
    friend class ControlHost;
    friend class ControlCollection;

    std::string name_;
    ControlHost* host_ = nullptr;
    Control* container_ = nullptr;
    bool designTime_ = true;
    std::string caption_;
    bool enabled_ = true;
    bool visible_ = true;
    int32_t left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    int32_t tabIndex_ = 0;
    bool tabStop_ = true;
    std::string tag_;
    plat::ui::Font font_;
    Color backColor_ = kColorButtonFace;
    Color foreColor_ = vbButtonText;
};

}  // namespace plat::ui

// A control is used with its host; the host header includes this one first.
#include "platform/ui/control_host.h"
#include "platform/ui/object_control.h"
