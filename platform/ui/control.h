#pragma once
// The base of every control on a window: name, container, enabled/visible,
// position, caption and focus; the named-control collection of a window or
// embeddable control; and the extender that holds a control object added at
// run time by ProgID.
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
    std::function<void()> OnGotFocus;
    std::function<void()> OnLostFocus;

protected:
    // Runs a handler on a copy, with the control kept alive.
    template <class... Params, class... Args>
    void Fire(const std::function<void(Params...)>& handler, Args&&... args) {
        if (!handler) return;
        auto keep = weak_from_this().lock();  // empty for a control made outside a host
        auto copy = handler;
        copy(std::forward<Args>(args)...);
    }
    // Tells the installed renderer (if any) that what the control shows changed.
    void NotifyChanged();
    // The start of a user action: false when the person cannot reach the
    // control; otherwise moves the focus to it when `takeFocus` and it can.
    bool BeginUserAction(bool takeFocus);

private:
    friend class ControlHost;
    friend class ControlCollection;
    bool ChainShown() const;  // it and its containers enabled and visible

    std::string name_;
    ControlHost* host_ = nullptr;
    Control* container_ = nullptr;
    bool designTime_ = true;
    std::string caption_;
    bool enabled_ = true;
    bool visible_ = true;
    int32_t left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    int32_t tabIndex_ = 0;
    std::string tag_;
    plat::ui::Font font_;
    Color backColor_ = kColorButtonFace;
    Color foreColor_ = vbButtonText;
};

// The extender of a control object added at run time by ProgID: it holds the
// object and relays the object's generic events (when it is a
// plat::ControlObject) to OnObjectEvent and then to the host's OnObjectEvent.
// Once removed, events of the object reach nobody.
class ObjectControl final : public Control {
public:
    const std::string& ProgId() const { return progId_; }
    const ObjectPtr& Object() const { return object_; }
    template <class T>
    std::shared_ptr<T> ObjectAs() const { return std::dynamic_pointer_cast<T>(object_); }

    std::function<void(const std::string& name, std::vector<Variant>& params)> OnObjectEvent;

private:
    friend class ControlCollection;
    friend class ControlHost;
    void Deliver(const std::string& name, std::vector<Variant>& params);
    std::string progId_;
    ObjectPtr object_;
    bool removed_ = false;
};

// The named controls of a host, in the order added. Names compare without
// regard to case and are unique within the host. Controls inside frames are
// members too (as in the original, the collection is flat).
class ControlCollection {
public:
    explicit ControlCollection(ControlHost& host) : host_(host) {}
    ControlCollection(const ControlCollection&) = delete;
    ControlCollection& operator=(const ControlCollection&) = delete;

    int32_t Count() const { return static_cast<int32_t>(items_.size()); }
    bool Exists(std::string_view name) const { return Find(name) != nullptr; }
    // The control of that name, or nullptr.
    Control* Find(std::string_view name) const;
    template <class T>
    T* FindAs(std::string_view name) const { return dynamic_cast<T*>(Find(name)); }
    // The control of that name; UiError when there is none.
    Control& Item(std::string_view name) const;
    ControlPtr Shared(std::string_view name) const;

    // Creates the object of `progId` (plat::CreateObject; its ComError passes
    // through) and adds it under `name`, inside `container` when given.
    // UiError when the name is taken.
    std::shared_ptr<ObjectControl> Add(std::string_view progId, std::string_view name, Control* container = nullptr);
    // Removes a control added by ProgID; the extender and the object stay alive
    // while one of their own events is being handled. UiError when there is no
    // such control or it was placed by the window's own code (design time).
    void Remove(std::string_view name);

    // Iteration over the controls; take a Snapshot to iterate while removing.
    std::vector<ControlPtr> Snapshot() const { return items_; }
    std::vector<ControlPtr>::const_iterator begin() const { return items_.begin(); }
    std::vector<ControlPtr>::const_iterator end() const { return items_.end(); }

private:
    friend class ControlHost;
    // Adds the control; `announce` tells the renderer (Hold does that itself
    // once the object sits in its extender).
    void Insert(const ControlPtr& control, std::string_view name, Control* container, bool designTime,
                bool announce = true);
    void Announce(Control& control);
    std::shared_ptr<ObjectControl> Hold(ObjectPtr object, std::string progId, std::string_view name,
                                        Control* container, bool designTime);
    void RemoveRunTimeControls();
    ControlHost& host_;
    std::vector<ControlPtr> items_;
};

// What holds named controls: a window (Form) or an embeddable control
// (UserControl).
class ControlHost {
public:
    ControlHost() : controls_(*this) {}
    virtual ~ControlHost();
    ControlHost(const ControlHost&) = delete;
    ControlHost& operator=(const ControlHost&) = delete;

    ControlCollection& Controls() { return controls_; }
    const ControlCollection& Controls() const { return controls_; }

    // Places a control of kind T under `name` (the window's own controls,
    // made in its constructor). The reference stays valid for the host's life:
    // such controls cannot be removed. UiError when the name is taken.
    template <class T>
    T& Add(std::string_view name, Control* container = nullptr) {
        auto control = std::make_shared<T>();
        controls_.Insert(control, name, container, true);
        return *control;
    }

    // Places an object made by the window's own code (an embeddable control
    // such as a UserControl subclass) under `name`, as Controls().Add does for
    // a ProgID, but for the host's life: it is not removed at unload.
    ObjectControl& AddObject(std::string_view name, ObjectPtr object, Control* container = nullptr);

    // The control holding the focus among this host's own and embedded controls.
    Control* ActiveControl() const;

    // Generic events of control objects added by ProgID to this host.
    std::function<void(ObjectControl& control, const std::string& name, std::vector<Variant>& params)> OnObjectEvent;

    // Whether a person could reach controls of this host / code could focus them.
    virtual bool HostInteractive() const = 0;
    virtual bool HostAvailable() const = 0;

protected:
    // The host that records the focus: the window, or an embeddable control
    // that sits on no window.
    virtual ControlHost& FocusRoot() { return *this; }
    // Drops the focus when it lies in `control` or in controls embedded in it.
    void DropFocusWithin(const Control* control);
    // Called first by the destructor of a window or embeddable control: tells
    // the renderer, which hears nothing more of this host.
    void Destroying();
    bool Quiet() const { return quiet_; }
    // Forgets the focus; `notify` tells the renderer.
    void ClearFocus(bool notify = false);
    void RemoveRunTimeControls() { controls_.RemoveRunTimeControls(); }

private:
    friend class Control;
    friend class ControlCollection;
    friend class UserControl;
    ControlCollection controls_;
    Control* focus_ = nullptr;  // meaningful in a focus root only
    bool quiet_ = false;        // being destroyed
};

}  // namespace plat::ui
