#pragma once
// A combo box: pick-only (DropdownList) or editable. A pick is the core's
// PickItem; typing in the editable part reaches it as EnterText. A locked box
// neither opens nor changes.

#include <string>
#include <vector>

#include "platform/qt/control_view.h"
#include "platform/ui/controls.h"

class QComboBox;

namespace plat::qt {

class ComboBoxView final : public ControlView {
public:
    ComboBoxView(plat::ui::ComboBox& combo, QtRenderer& renderer) : ControlView(combo, renderer), combo_(combo) {}

protected:
    QWidget* Create(QWidget* parent) override;
    void SyncOwn() override;

private:
    void SetEditable(bool on);
    plat::ui::ComboBox& combo_;
    QComboBox* box_ = nullptr;
    std::vector<std::string> shown_;
};

}  // namespace plat::qt
