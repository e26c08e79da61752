#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/control.h"
#include "platform/ui/control_collection.h"
#include "platform/values/variant.h"

namespace plat::ui {

// A window handle: a number that names a window or embeddable control while
// it exists (never 0, never reused).
using WindowHandle = int32_t;

// What holds named controls: a window (Form) or an embeddable control
// (UserControl).
class ControlHost {
public:
    ControlHost();
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

    // Its window handle (see SetParent).
    WindowHandle hWnd() const { return handle_; }
    // The window or embeddable control it is docked into by SetParent, or nullptr.
    ControlHost* DockParent() const { return dockParent_; }
    // Where it sits when not docked: an embeddable control's extender's host;
    // nullptr for a window (the desktop).
    virtual ControlHost* NaturalParent() const { return nullptr; }
    // Where it is shown: the dock parent, else the natural parent.
    ControlHost* ParentHost() const { return dockParent_ ? dockParent_ : NaturalParent(); }

    // The host that records the focus: the top window it is shown in, or an
    // embeddable control that sits on no window.
    virtual ControlHost& FocusRoot() { return *this; }

protected:
    // Drops the focus when it lies in `control` or in controls embedded in it.
    void DropFocusWithin(const Control* control);
    // Called first by the destructor of a window or embeddable control: tells
    // the renderer, which hears nothing more of this host.
    void Destroying();
    bool Quiet() const { return quiet_; }
    // Tells the renderer (if any) that the host's own properties changed.
    void NotifyHostChanged();
    // Forgets the focus; `notify` tells the renderer.
    void ClearFocus(bool notify = false);
    void RemoveRunTimeControls() { controls_.RemoveRunTimeControls(); }

private:
    friend class Control;
    friend class ControlCollection;
    friend class UserControl;
    friend WindowHandle SetParent(WindowHandle child, WindowHandle parent);
    ControlCollection controls_;
    Control* focus_ = nullptr;  // meaningful in a focus root only
    bool quiet_ = false;        // being destroyed
    WindowHandle handle_ = 0;
    ControlHost* dockParent_ = nullptr;
};

// The window or embeddable control of that handle, or nullptr.
ControlHost* FromHandle(WindowHandle handle);
// Every window and embeddable control that exists (the UI thread's).
std::vector<ControlHost*> AllHosts();

// Docks `child` into `parent`: it shows inside that window, its controls are
// reachable while that window is, its focus counts as that window's focus,
// and Move places it inside that window. A parent of 0, or the child's natural
// parent (an embeddable control's own window), undocks it. Returns the handle
// of the previous parent (0 for none); 0 and no change when a handle names
// nothing, or the parent is the child or lies inside it.
WindowHandle SetParent(WindowHandle child, WindowHandle parent);

}  // namespace plat::ui
