#pragma once
// A list box. A person's pick (mouse or arrow keys) is the core's PickItem.

#include <string>
#include <vector>

#include "platform/qt/control_view.h"
#include "platform/ui/controls.h"

class QListWidget;

namespace plat::qt {

class ListBoxView final : public ControlView {
public:
    ListBoxView(plat::ui::ListBox& list, QtRenderer& renderer) : ControlView(list, renderer), list_(list) {}

protected:
    QWidget* Create(QWidget* parent) override;
    void SyncOwn() override;

private:
    plat::ui::ListBox& list_;
    QListWidget* rows_ = nullptr;
    std::vector<std::string> shown_;
};

}  // namespace plat::qt
