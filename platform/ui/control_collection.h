#pragma once
// Included by control_host.h; include that (or control.h) rather than this.

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/com/com.h"

namespace plat::ui {

class Control;
class ControlHost;
class ObjectControl;
using ControlPtr = std::shared_ptr<Control>;

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

}  // namespace plat::ui
