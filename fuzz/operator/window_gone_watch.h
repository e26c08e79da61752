#pragma once
// Tells, at the very moment, that a window of a given name hides or unloads:
// a renderer that draws nothing and only listens for that, installed for its
// scope (the fuzz targets run headless, with no renderer of their own).

#include <functional>
#include <string>

#include "platform/ui/renderer.h"

namespace fuzz_operator {

class WindowGoneWatch : public plat::ui::Renderer {
public:
    WindowGoneWatch(std::string window, std::function<void()> gone);
    ~WindowGoneWatch() override;
    WindowGoneWatch(const WindowGoneWatch&) = delete;
    WindowGoneWatch& operator=(const WindowGoneWatch&) = delete;

    void FormLoaded(plat::ui::Form&) override {}
    void FormShown(plat::ui::Form&, bool) override {}
    void FormHidden(plat::ui::Form& form) override { Gone(form); }
    void FormUnloaded(plat::ui::Form& form) override { Gone(form); }
    void HostDestroyed(plat::ui::ControlHost&) override {}
    void ControlAdded(plat::ui::ControlHost&, plat::ui::Control&) override {}
    void ControlRemoved(plat::ui::ControlHost&, plat::ui::Control&) override {}
    void Changed(plat::ui::Control&) override {}
    void HostChanged(plat::ui::ControlHost&) override {}
    void FocusMoved(plat::ui::Control*, plat::ui::Control*) override {}

private:
    void Gone(plat::ui::Form& form);
    std::string window_;
    std::function<void()> gone_;
    plat::ui::Renderer* previous_;
};

}  // namespace fuzz_operator
