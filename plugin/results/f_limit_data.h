#pragma once
// FLimitData: the dialog that limits give the host. It carries the host's
// limit view (xlvLimits), tells it the rows of the owner's test type (key,
// description, unit, expressions offered) and hands it the limits; the view
// does the editing. The form itself is never shown: the host docks the view
// into a window of its own and drives it through IDialog.
//
//   std::shared_ptr<host::IDialog> dialog = NewLimitDataDialog(limits, testId);
//   dialog->Dock(holder);  dialog->Show({});  ...  dialog->Unload();

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "host/test_element.h"
#include "host/ui_interfaces.h"
#include "platform/ui/form.h"
#include "plugin/factory/server_lock.h"

namespace plugin {

class FLimitData : public plat::ui::Form, public host::IDialog {
public:
    // Makes the object the form places as xlvLimits (the host's limit view).
    using ViewMaker = std::function<plat::ObjectPtr()>;
    static ViewMaker DefaultViewMaker();

    explicit FLimitData(const ViewMaker& makeView = DefaultViewMaker());

    // The view's page (nullptr when the view offers none).
    const std::shared_ptr<host::ICustomControl>& Page() const { return page_; }
    // The view's extender on the form (nullptr when no view was made).
    plat::ui::ObjectControl* View() const { return xlvLimits; }

    // IDialog; each member passes over a failure inside it.
    std::shared_ptr<host::ICallBack> CallBack() const override;
    void SetCallBack(std::shared_ptr<host::ICallBack> callBack) override;
    bool IsDocked() const override { return docked_; }
    bool Locked() const override;
    void SetLocked(bool locked) override;
    void Initialize(const plat::Variant& value) override;
    void Hide() override;
    void Show(const plat::Variant& argument) override;
    void Dock(host::WindowHandle parent) override;
    void UnDock() override;
    void Unload() override;
    void Move(float left, float top, float width, float height) override;
    void Refresh() override;
    void SetFocus() override;

private:
    void Form_Load();

    plat::ui::ObjectControl* xlvLimits = nullptr;
    std::shared_ptr<host::ICustomControl> page_;
    bool docked_ = false;
    ServerLock lock_;
};

// The operator list of the SpO2 test's rows: "<op>X+Y;Y;X+(X*Y%)</op>".
std::string SpO2Operators();

// The limit dialog of the limits, with the rows of test type `testId` (none
// for a test ID of no kind). Nothing when the view offers no page. A
// failure once the form exists unloads the form and reaches the caller.
std::shared_ptr<host::IDialog> NewLimitDataDialog(const std::shared_ptr<host::ILimitData>& limits, int32_t testId,
                                                  const FLimitData::ViewMaker& makeView = FLimitData::DefaultViewMaker());

}  // namespace plugin
