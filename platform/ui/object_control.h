#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/com/com.h"
#include "platform/ui/control.h"
#include "platform/values/variant.h"

namespace plat::ui {

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

protected:
    // Tells an embeddable control inside that its size changed.
    void SizeChanged() override;

private:
    friend class ControlCollection;
    friend class ControlHost;
    void Deliver(const std::string& name, std::vector<Variant>& params);
    std::string progId_;
    ObjectPtr object_;
    bool removed_ = false;
};

}  // namespace plat::ui
