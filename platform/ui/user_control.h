#pragma once

#include "platform/com/com.h"
#include "platform/ui/color.h"
#include "platform/ui/control.h"

namespace plat::ui {

class Form;

// An embeddable control object: a plat::ControlObject holding child controls
// of its own. Added to a window with Controls().Add(progId, name), it sits in
// the extender there: its children are reachable only while the extender and
// the window are, and its RaiseEvent reaches the window's OnObjectEvent. Docked
// into another window (SetParent with its hWnd), it shows there and its
// children are reachable while that window is (its extender still hides or
// disables it). A user control that sits on no window acts on its own (for tests).
class UserControl : public plat::ControlObject, public ControlHost {
public:
    UserControl() = default;
    ~UserControl() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool on);
    Color BackColor() const { return backColor_; }
    void SetBackColor(Color color);

    // The extender it sits in and that one's window, or nullptr.
    ObjectControl* Extender() const { return site_; }

    // Its inner size in twips: the extender's size; for a control that sits
    // on no window, the size given with SetSize.
    int32_t ScaleWidth() const;
    int32_t ScaleHeight() const;
    // Sizes a control that sits on no window (tests); fires OnResize.
    void SetSize(int32_t width, int32_t height);
    // After its size changed (its extender was moved to another size).
    std::function<void()> OnResize;
    Form* ParentForm() const;

    bool HostInteractive() const override;
    bool HostAvailable() const override;
    ControlHost* NaturalParent() const override;
    ControlHost& FocusRoot() override;

private:
    friend class ControlCollection;
    friend class ControlHost;
    friend class ObjectControl;
    void Site(ObjectControl* extender);
    void FireResize();
    ObjectControl* site_ = nullptr;
    int32_t width_ = 0, height_ = 0;
    bool enabled_ = true;
    Color backColor_ = kColorButtonFace;
};

}  // namespace plat::ui
