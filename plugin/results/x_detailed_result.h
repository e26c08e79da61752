#pragma once
// XDetailedResult: the page that the host shows as a test result's dialog:
// the operator's comment, read-only in a multi-line box with a vertical
// scroll bar, under a title. The result's CreateDialog
// adds it by ProgID "OrvikPelmo2.XDetailedResult" to the element setup dialog
// and initialises it with the result.

#include <memory>

#include "host/ui_interfaces.h"
#include "platform/ui/label.h"
#include "platform/ui/text_box.h"
#include "platform/ui/user_control.h"
#include "plugin/factory/server_lock.h"

namespace plugin {

class XDetailedResult : public plat::ui::UserControl, public host::ICustomControl {
public:
    // Translates its captions.
    XDetailedResult();

    // ICustomControl. The page keeps no callback and is never locked; its
    // visibility is its extender's.
    std::shared_ptr<host::ICallBack> CallBack() const override { return nullptr; }
    void SetCallBack(std::shared_ptr<host::ICallBack>) override {}
    host::WindowHandle HWnd() const override { return hWnd(); }
    bool Visible() const override;
    void SetVisible(bool visible) override;
    bool Locked() const override { return false; }
    void SetLocked(bool) override {}
    // Shows the comment of the result given (a host::IResultData); anything
    // else clears the box. The box is locked either way.
    void Initialize(const plat::Variant& value) override;
    void Refresh() override;
    void SetFocus() override;

    const plat::ui::TextBox& CommentBox() const { return txtComment; }

private:
    void UserControl_Resize();

    plat::ui::Label& lblTitle = Add<plat::ui::Label>("lblTitle");
    plat::ui::TextBox& txtComment = Add<plat::ui::TextBox>("txtComment");
    ServerLock lock_;
};

}  // namespace plugin
