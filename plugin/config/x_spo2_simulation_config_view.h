#pragma once
// XSpO2SimulationConfigView: the page that edits the configuration of one SpO2
// simulation test in place: the oximeter make and its TLC, the upload of a
// custom make's R-curve, optical or electrical simulation, the preset with its
// SpO2, BPM and pulse amplitude (typed only under "Customize"), and the two
// test-guide options. Every action writes straight into the test's
// CSpO2SimulationConfig; only a toggled test-guide option is told to the host
// ("Change"). The page shows no messages: a value that fails its check is put
// back to the text it had before the edit.
//
// The configuration's dialog adds it by ProgID
// "OrvikPelmo2.XSpO2SimulationConfigView" to the element setup dialog under
// "xvbSetupControl" and hands it the owner test:
//
//   dialog->CreateSetupCtrl("OrvikPelmo2.XSpO2SimulationConfigView", "xvbSetupControl");
//   dialog->Initialize(plat::Variant(testAsObject));   // reaches Initialize(test)
//
// The page never writes the registry: a configured custom make that is gone
// (or a make index that names no list entry) falls back to the first
// built-in make in this test's configuration only.

#include <cstdint>
#include <memory>
#include <string>

#include "host/test_element.h"
#include "host/ui_interfaces.h"
#include "makes/make_utils.h"
#include "platform/ui/controls.h"
#include "platform/ui/grid.h"
#include "platform/ui/image_list.h"
#include "platform/ui/tree_view.h"
#include "platform/ui/user_control.h"
#include "plugin/factory/server_lock.h"

namespace plugin {

class CPresets;
class CSpO2SimulationConfig;

class XSpO2SimulationConfigView : public plat::ui::UserControl, public host::ICustomControl {
public:
    // List position of the first custom make.
    static constexpr int32_t kFirstCustomPosition = makes::kFirstCustomMake;
    // Details grid rows and the value column.
    static constexpr int32_t kRowSpO2 = 1;
    static constexpr int32_t kRowBPM = 2;
    static constexpr int32_t kRowAmplitude = 3;
    static constexpr int32_t kValueCol = 2;
    static constexpr int32_t kMaxTlc = 4095;
    // Options tree keys.
    static constexpr const char* kRootKey = "::TG";
    static constexpr const char* kNAKey = "NA key";
    static constexpr const char* kSkipKey = "Skip key";

    XSpO2SimulationConfigView();

    // Binds the page to the test and fills every control from its configuration.
    void Initialize(const host::TestElementPtr& test);

    // ICustomControl.
    std::shared_ptr<host::ICallBack> CallBack() const override { return callBack_; }
    void SetCallBack(std::shared_ptr<host::ICallBack> callBack) override { callBack_ = std::move(callBack); }
    host::WindowHandle HWnd() const override { return hWnd(); }
    bool Visible() const override;
    void SetVisible(bool visible) override;
    bool Locked() const override { return locked_; }
    // Stores the flag and locks the controls: the make and preset lists and
    // the TLC box read-only; the upload box, the two option buttons and the
    // options tree disabled. "View R-curve" stays usable, to look only.
    void SetLocked(bool locked) override;
    // The element setup dialog passes the owner test on through here; any
    // other value is ignored.
    void Initialize(const plat::Variant& value) override;
    void Refresh() override;
    void SetFocus() override {}

    // The configuration being edited (nullptr before Initialize).
    const std::shared_ptr<CSpO2SimulationConfig>& Config() const { return config_; }

private:
    void FillMakeList();
    void FallBackToFirstBuiltInMake();
    void cboMakeName_Click();
    void txtTLC_KeyPress(int32_t& keyAscii);
    void txtTLC_Change();
    void cmdAdvanced_Click();
    void chkUploadRCurve_Click();
    void Optical_Click();
    void OptElectrical_Click();
    void FillPresets();
    void cboPresets_Click();
    int32_t SelectedPresetId() const;
    void FillDetailsGrid();
    void ShowValues();
    void ColourValueCells(bool editable);
    void tliDetails_GridCellClick(plat::ui::GridCell& cell, int32_t button);
    void tliDetails_GridCellEditingKeyPress(plat::ui::GridCellEditor& editor, int32_t& keyAscii);
    void tliDetails_GridCellEditingChange(plat::ui::GridCellEditor& editor);
    void tliDetails_GridCellAfterEditing(std::string& newText, plat::ui::GridCell& cell);
    void EndCellEdit();
    void StoreGridValue(int32_t row, const std::string& text);
    void FillOptionsTree();
    void tvwOptions_KeyDown(int32_t& keyCode);
    void tvwOptions_NodeClick(plat::ui::TreeNode& node);
    void ToggleOption(plat::ui::TreeNode& node);
    void SetOption(const std::string& key, bool on);
    void SelectMakeByName(const std::string& name);
    void ShowTlc(int32_t tlc);

    plat::ui::Frame& fraOximeterDetails = Add<plat::ui::Frame>("fraOximeterDetails");
    plat::ui::Label& lblOximeterName = Add<plat::ui::Label>("lblOximeterName", &fraOximeterDetails);
    plat::ui::ComboBox& cboMakeName = Add<plat::ui::ComboBox>("cboMakeName", &fraOximeterDetails);
    plat::ui::Label& lblTLC = Add<plat::ui::Label>("lblTLC", &fraOximeterDetails);
    plat::ui::TextBox& txtTLC = Add<plat::ui::TextBox>("txtTLC", &fraOximeterDetails);
    plat::ui::Frame& Picture2 = Add<plat::ui::Frame>("Picture2", &fraOximeterDetails);
    plat::ui::CommandButton& cmdAdvanced = Add<plat::ui::CommandButton>("cmdAdvanced", &Picture2);
    plat::ui::CheckBox& chkUploadRCurve = Add<plat::ui::CheckBox>("chkUploadRCurve", &Picture2);
    plat::ui::Frame& FraSimulation = Add<plat::ui::Frame>("FraSimulation");
    plat::ui::Frame& Picture1 = Add<plat::ui::Frame>("Picture1", &FraSimulation);
    plat::ui::OptionButton& Optical = Add<plat::ui::OptionButton>("Optical", &Picture1);
    plat::ui::OptionButton& OptElectrical = Add<plat::ui::OptionButton>("OptElectrical", &Picture1);
    plat::ui::Frame& fraDetails = Add<plat::ui::Frame>("fraDetails");
    plat::ui::ComboBox& cboPresets = Add<plat::ui::ComboBox>("cboPresets", &fraDetails);
    plat::ui::Grid& tliDetails = Add<plat::ui::Grid>("tliDetails", &fraDetails);
    plat::ui::Frame& fraTest = Add<plat::ui::Frame>("fraTest");
    plat::ui::TreeView& tvwOptions = Add<plat::ui::TreeView>("tvwOptions", &fraTest);
    plat::ui::ImageList& ilstCh = Add<plat::ui::ImageList>("ilstCh");

    ServerLock lock_;
    host::TestElementPtr test_;
    std::shared_ptr<CSpO2SimulationConfig> config_;
    makes::MakeListPtr makes_;
    makes::OximeterMakePtr editMake_;
    std::shared_ptr<CPresets> presets_;
    std::shared_ptr<host::ICallBack> callBack_;
    bool locked_ = false;
    int32_t lastKey_ = 0;
    // The TLC box's last accepted text, put back when an edit is refused.
    std::string tlcText_;
    bool puttingBackTlc_ = false;
};

}  // namespace plugin
