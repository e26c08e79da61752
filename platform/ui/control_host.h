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
    // Tells the renderer (if any) that the host's own properties changed.
    void NotifyHostChanged();
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
