#include "plugin/shell/x_mti_data.h"

#include "host/registry_key.h"
#include "plugin/config/builtin_makes.h"
#include "plugin/config/captions.h"
#include "platform/values/text.h"
#include "platform/values/pass_over.h"

namespace plugin {

namespace {

bool IsDigit(int32_t key) { return key >= '0' && key <= '9'; }
bool IsLetter(int32_t key) { return (key >= 'a' && key <= 'z') || (key >= 'A' && key <= 'Z'); }

void SelectAll(plat::ui::TextBox& box) {
    box.SetSelStart(0);
    box.SetSelLength(static_cast<int32_t>(box.Text().size()));
}

}  // namespace

XMTIData::XMTIData() {
    lblTitle.SetCaption("462::MTI data");
    lblTitle.SetFontName("Arial Black");
    lblMtiType.SetCaption("22016::MTI type");
    lblSerial.SetCaption("22017::Serial number");
    lblFirmWare.SetCaption("22018::Firmware version");
    cboMtiType.SetStyle(plat::ui::ComboStyle::DropdownList);
    lblTitle.Move(120, 120, 3600, 360);
    lblMtiType.Move(120, 600, 1800, 285);
    cboMtiType.Move(2040, 600, 2400, 315);
    lblSerial.Move(120, 1035, 1800, 285);
    txtSerial.Move(2040, 1035, 2400, 315);
    lblFirmWare.Move(120, 1470, 1800, 285);
    txtFirmware.Move(2040, 1470, 2400, 315);
    cboMtiType.SetTabIndex(0);
    txtSerial.SetTabIndex(1);
    txtFirmware.SetTabIndex(2);

    cboMtiType.OnClick = [this] { cboMtiType_Click(); };
    txtFirmware.OnChange = [this] { record_->SetFWVersion(txtFirmware.Text()); };
    txtSerial.OnChange = [this] { record_->SetSerialNo(txtSerial.Text()); };
    txtFirmware.OnKeyPress = [this](int32_t& keyAscii) { txtFirmware_KeyPress(keyAscii); };
    txtSerial.OnKeyPress = [this](int32_t& keyAscii) { txtSerial_KeyPress(keyAscii); };
    txtFirmware.OnGotFocus = [this] { SelectAll(txtFirmware); };
    txtSerial.OnGotFocus = [this] { SelectAll(txtSerial); };

    // Start.
    plat::PassOver([&] { TranslateControls("Pelmo2", *this); });
    record_ = std::make_shared<CMtiData2>();
    std::string lastType = GetRegistryString(kMtiDataKey, "Type");
    if (!IsKnownMtiType(lastType)) lastType = std::string(kMtiTypeF);
    LoadType(lastType);
    plat::PassOver([&] {
        cboMtiType.Clear();
        cboMtiType.AddItem(std::string(kMtiTypeF));
        cboMtiType.AddItem(std::string(kMtiTypeFE));
    });
    SelectRecordType();
    ShowRecord();
}

void XMTIData::LoadType(const std::string& mtiType) {
    const std::string key = MtiTypeKey(mtiType);
    record_->SetMtiType(mtiType);
    record_->SetSerialNo(plat::Trim(GetRegistryString(key, "Serial")));
    record_->SetFWVersion(plat::Trim(GetRegistryString(key, "Firmware")));
}

void XMTIData::ShowRecord() {
    // Copies: each SetText copies the box back into the record.
    const std::string firmware = record_->FWVersion();
    const std::string serial = record_->SerialNo();
    plat::PassOver([&] { txtFirmware.SetText(firmware); });
    plat::PassOver([&] { txtSerial.SetText(serial); });
}

void XMTIData::SelectRecordType() {
    plat::PassOver([&] {
        for (int32_t i = 0; i < cboMtiType.ListCount(); ++i) {
            // As the list box itself matches a text: letter case ignored.
            if (!plat::EqualsNoCase(cboMtiType.List(i), record_->MtiType())) continue;
            selectingByCode_ = true;
            try {
                cboMtiType.SetListIndex(i);
            } catch (...) {
                selectingByCode_ = false;
                throw;
            }
            selectingByCode_ = false;
            return;
        }
    });
}

void XMTIData::cboMtiType_Click() {
    if (selectingByCode_) return;
    plat::PassOver([&] { LoadType(cboMtiType.Text()); });
    ShowRecord();
}

void XMTIData::txtFirmware_KeyPress(int32_t& keyAscii) {
    if (!(IsDigit(keyAscii) || keyAscii == '.' || keyAscii == ',' || keyAscii == plat::ui::vbKeyBack)) keyAscii = 0;
}

void XMTIData::txtSerial_KeyPress(int32_t& keyAscii) {
    if (!(IsLetter(keyAscii) || IsDigit(keyAscii) || keyAscii == plat::ui::vbKeyBack)) keyAscii = 0;
}

void XMTIData::RegSave() {
    // Any other type would name no subkey of its own: an empty one writes into
    // the parent key, one holding a backslash nests keys.
    if (!IsKnownMtiType(record_->MtiType())) return;
    SetRegistryValue(kMtiDataKey, "Type", record_->MtiType());
    plat::PassOver([&] {
        auto key = std::make_shared<host::CRegistryKey>();
        key->Create(host::HKey::LocalMachine, MtiTypeKey(record_->MtiType()));
        key->WriteValue("Firmware", record_->FWVersion());
        key->WriteValue("Serial", record_->SerialNo());
    });
}

void XMTIData::SetMtiData(const std::shared_ptr<CMtiData2>& data) {
    if (!data) return;
    // An unknown type keeps the current one; serial number and firmware are taken all the same.
    if (IsKnownMtiType(data->MtiType())) record_->SetMtiType(data->MtiType());
    record_->SetSerialNo(data->SerialNo());
    record_->SetFWVersion(data->FWVersion());
    if (cboMtiType.ListCount() >= 1) SelectRecordType();
    ShowRecord();
}

void XMTIData::InitMTI(bool allowAllTypes) {
    if (allowAllTypes) return;
    // By its text: a second call must not remove the type that is left.
    plat::PassOver([&] {
        for (int32_t i = 0; i < cboMtiType.ListCount(); ++i)
            if (cboMtiType.List(i) == kMtiTypeF) {
                cboMtiType.RemoveItem(i);
                break;
            }
    });
    if (record_->MtiType() != kMtiTypeFE) {
        LoadType(std::string(kMtiTypeFE));
        SelectRecordType();
        ShowRecord();
    }
}

}  // namespace plugin
