#pragma once
// The embeddable control of the test-guide window in which the operator picks
// the instrument type and types its serial number and firmware. It remembers
// the last type, and serial number and firmware per type, in the registry.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/ui/combo_box.h"
#include "platform/ui/label.h"
#include "platform/ui/text_box.h"
#include "platform/ui/user_control.h"
#include "plugin/shell/mti_data.h"
#include "plugin/factory/server_lock.h"

namespace plugin {

class XMTIData : public plat::ui::UserControl {
public:
    // Translates its captions and shows the last type with its stored values.
    XMTIData();

    // BackColor (read-only for callers) comes from UserControl.

    // Writes type, firmware and serial number to the registry.
    void RegSave();
    // The control's own record, always what the boxes show.
    std::shared_ptr<CMtiData2> GetMtiData() const { return record_; }
    // Takes over the given record's values and shows them.
    void SetMtiData(const std::shared_ptr<CMtiData2>& data);
    // False restricts the control to "Pelmo Q5 FE" (call at most once).
    void InitMTI(bool allowAllTypes);

private:
    void LoadType(const std::string& mtiType);
    void ShowRecord();
    void SelectRecordType();
    void cboMtiType_Click();
    void txtFirmware_KeyPress(int32_t& keyAscii);
    void txtSerial_KeyPress(int32_t& keyAscii);

    plat::ui::Label& lblTitle = Add<plat::ui::Label>("lblTitle");
    plat::ui::Label& lblMtiType = Add<plat::ui::Label>("lblMtiType");
    plat::ui::ComboBox& cboMtiType = Add<plat::ui::ComboBox>("cboMtiType");
    plat::ui::Label& lblSerial = Add<plat::ui::Label>("lblSerial");
    plat::ui::TextBox& txtSerial = Add<plat::ui::TextBox>("txtSerial");
    plat::ui::Label& lblFirmWare = Add<plat::ui::Label>("lblFirmWare");
    plat::ui::TextBox& txtFirmware = Add<plat::ui::TextBox>("txtFirmware");

    ServerLock lock_;
    std::shared_ptr<CMtiData2> record_;
    bool selectingByCode_ = false;  // a selection made by code is no operator pick
};

}  // namespace plugin
