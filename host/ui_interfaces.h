#pragma once
// The host's interfaces for embedded pages and dialogs: the callback through
// which a page tells its host of a change, the page (custom control) and the
// dialog that holds it, and the test-guide progress bar. No UI types appear
// here: windows are named by their handle. Interfaces as in test_element.h.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/values/variant.h"

namespace host {

using WindowHandle = intptr_t;  // 0 = none

// Raised by a page toward the host; settings pages raise "Change" with no arguments.
class ICallBack {
public:
    virtual ~ICallBack() = default;
    virtual void Raise(const std::string& eventName, const std::vector<plat::Variant>& args) = 0;
};

// Delivers every raise to the hosting window as ReceivedEvent(event name, argument).
class CCallBack : public plat::Object, public ICallBack {
public:
    using Sink = std::function<void(const std::string& eventName, const std::vector<plat::Variant>& args)>;
    CCallBack() = default;
    explicit CCallBack(Sink sink) : sink_(std::move(sink)) {}
    void SetSink(Sink sink) { sink_ = std::move(sink); }
    // Without a sink the event is dropped: nobody is listening.
    void Raise(const std::string& eventName, const std::vector<plat::Variant>& args) override {
        if (sink_) sink_(eventName, args);
    }
private:
    Sink sink_;
};

// An embeddable page as the host drives it.
class ICustomControl {
public:
    virtual ~ICustomControl() = default;
    virtual std::shared_ptr<ICallBack> CallBack() const = 0;
    virtual void SetCallBack(std::shared_ptr<ICallBack> callBack) = 0;
    virtual WindowHandle HWnd() const = 0;
    virtual bool Visible() const = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual bool Locked() const = 0;
    virtual void SetLocked(bool locked) = 0;
    virtual void Initialize(const plat::Variant& value) = 0;
    virtual void Refresh() = 0;
    virtual void SetFocus() = 0;
};

// A dialog that holds one page; the host docks, shows, moves and unloads it.
class IDialog {
public:
    virtual ~IDialog() = default;
    virtual std::shared_ptr<ICallBack> CallBack() const = 0;
    virtual void SetCallBack(std::shared_ptr<ICallBack> callBack) = 0;
    virtual bool IsDocked() const = 0;
    virtual bool Locked() const = 0;
    virtual void SetLocked(bool locked) = 0;
    virtual void Initialize(const plat::Variant& value) = 0;
    virtual void Hide() = 0;
    virtual void Show(const plat::Variant& argument) = 0;
    virtual void Dock(WindowHandle parent) = 0;
    virtual void UnDock() = 0;
    virtual void Unload() = 0;
    virtual void Move(float left, float top, float width, float height) = 0;
    virtual void Refresh() = 0;
    virtual void SetFocus() = 0;
};

// The test-guide progress bar of the host's control library.
class ITgProgressBar {
public:
    virtual ~ITgProgressBar() = default;
    virtual bool Visible() const = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual bool Running() const = 0;
    virtual void SetRunning(bool running) = 0;
};

}  // namespace host
