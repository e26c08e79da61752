#include "plugin/shell/x_mti_data.h"

#include <gtest/gtest.h>

#include "plugin/shell/shell_classes.h"
#include "tests/plugin/config/config_fixture.h"

namespace {

using plugin::CMtiData2;
using plugin::XMTIData;

const std::string kRoot = "Software\\Velam\\Orvik\\Pelmo2\\MtiData\\";
const std::string kF = "Pelmo Q5 F";
const std::string kFE = "Pelmo Q5 FE";

class MtiDataTest : public plugin_test::ConfigTest {
protected:
    static plat::ui::ComboBox& Types(XMTIData& x) { return *x.Controls().FindAs<plat::ui::ComboBox>("cboMtiType"); }
    static plat::ui::TextBox& Serial(XMTIData& x) { return *x.Controls().FindAs<plat::ui::TextBox>("txtSerial"); }
    static plat::ui::TextBox& Firmware(XMTIData& x) { return *x.Controls().FindAs<plat::ui::TextBox>("txtFirmware"); }
    static void Store(const std::string& type, const std::string& serial, const std::string& firmware) {
        Write(kRoot + type, "Serial", serial);
        Write(kRoot + type, "Firmware", firmware);
    }
};

TEST_F(MtiDataTest, FirstUseShowsTypeFWithEmptyValues) {
    auto x = std::make_shared<XMTIData>();
    auto data = x->GetMtiData();
    EXPECT_EQ(data->MtiType(), kF);
    EXPECT_EQ(data->SerialNo(), "");
    EXPECT_EQ(data->FWVersion(), "");
    ASSERT_EQ(Types(*x).ListCount(), 2);
    EXPECT_EQ(Types(*x).List(0), kF);
    EXPECT_EQ(Types(*x).List(1), kFE);
    EXPECT_EQ(Types(*x).ListIndex(), 0);
    EXPECT_EQ(x->Controls().Item("lblTitle").Caption(), "MTI data");
    EXPECT_EQ(x->Controls().Item("lblTitle").FontName(), "Arial Black");
    EXPECT_EQ(x->Controls().Item("lblFirmWare").Caption(), "Firmware version");
    EXPECT_EQ(x->GetMtiData(), data);
}

TEST_F(MtiDataTest, StoredTypeMustMatchExactly) {
    Store(kFE, "FE1", "2.0");
    Write(kRoot, "Type", "pelmo q5 fe");
    EXPECT_EQ(std::make_shared<XMTIData>()->GetMtiData()->MtiType(), kF);
    Write(kRoot, "Type", "Other");
    EXPECT_EQ(std::make_shared<XMTIData>()->GetMtiData()->MtiType(), kF);
    Write(kRoot, "Type", kFE);
    auto x = std::make_shared<XMTIData>();
    EXPECT_EQ(x->GetMtiData()->MtiType(), kFE);
    EXPECT_EQ(Types(*x).ListIndex(), 1);
    EXPECT_EQ(Serial(*x).Text(), "FE1");
    EXPECT_EQ(Firmware(*x).Text(), "2.0");
}

TEST_F(MtiDataTest, ValuesAreKeptPerTypeAndShownTrimmed) {
    Store(kF, "  F100 ", " 1.1 ");
    Store(kFE, "FE200", "2.2");
    auto x = std::make_shared<XMTIData>();
    EXPECT_EQ(Serial(*x).Text(), "F100");
    EXPECT_EQ(x->GetMtiData()->FWVersion(), "1.1");
    ASSERT_TRUE(Types(*x).PickItem(1));
    EXPECT_EQ(x->GetMtiData()->MtiType(), kFE);
    EXPECT_EQ(Serial(*x).Text(), "FE200");
    EXPECT_EQ(Firmware(*x).Text(), "2.2");
    ASSERT_TRUE(Types(*x).PickItem(0));
    EXPECT_EQ(x->GetMtiData()->SerialNo(), "F100");
}

TEST_F(MtiDataTest, RegSaveWritesTheLayoutAndTypedValuesAsTyped) {
    auto x = std::make_shared<XMTIData>();
    ASSERT_TRUE(Types(*x).PickItem(1));
    ASSERT_TRUE(Serial(*x).TypeText("SN42x"));
    ASSERT_TRUE(Firmware(*x).EnterText(" 3.1 "));
    x->RegSave();
    EXPECT_EQ(Read(kRoot, "Type"), kFE);
    EXPECT_EQ(Read(kRoot + kFE, "Serial"), "SN42x");
    EXPECT_EQ(Read(kRoot + kFE, "Firmware"), " 3.1 ");
    EXPECT_EQ(Read(kRoot + kF, "Serial"), "");
    auto again = std::make_shared<XMTIData>();
    EXPECT_EQ(again->GetMtiData()->FWVersion(), "3.1");
    EXPECT_EQ(again->GetMtiData()->SerialNo(), "SN42x");
}

TEST_F(MtiDataTest, PickingATypeDropsUnsavedEntries) {
    Store(kF, "F1", "1");
    auto x = std::make_shared<XMTIData>();
    ASSERT_TRUE(Serial(*x).EnterText("Typed"));
    ASSERT_TRUE(Types(*x).PickItem(1));
    ASSERT_TRUE(Types(*x).PickItem(0));
    EXPECT_EQ(x->GetMtiData()->SerialNo(), "F1");
}

TEST_F(MtiDataTest, KeyFiltersAndFocusSelection) {
    auto x = std::make_shared<XMTIData>();
    auto& firmware = Firmware(*x);
    auto& serial = Serial(*x);
    ASSERT_TRUE(firmware.TypeText("1a.2,3-b"));
    EXPECT_EQ(firmware.Text(), "1.2,3");
    firmware.TypeKey(plat::ui::vbKeyBack);
    EXPECT_EQ(x->GetMtiData()->FWVersion(), "1.2,");
    ASSERT_TRUE(serial.TypeText("Ab-1 z.9_"));
    EXPECT_EQ(serial.Text(), "Ab1z9");
    EXPECT_EQ(x->GetMtiData()->SerialNo(), "Ab1z9");

    ASSERT_TRUE(firmware.SetFocus());
    EXPECT_EQ(firmware.SelStart(), 0);
    EXPECT_EQ(firmware.SelLength(), 4);
    ASSERT_TRUE(serial.SetFocus());
    EXPECT_EQ(serial.SelText(), "Ab1z9");
    ASSERT_TRUE(serial.TypeText("Q"));
    EXPECT_EQ(serial.Text(), "Q");
}

TEST_F(MtiDataTest, SetMtiDataShowsTheGivenRecord) {
    Store(kFE, "Stored", "9");
    auto x = std::make_shared<XMTIData>();
    auto given = std::make_shared<CMtiData2>();
    given->SetMtiType(kFE);
    given->SetSerialNo("Given");
    given->SetFWVersion("1.5");
    x->SetMtiData(given);
    auto data = x->GetMtiData();
    EXPECT_NE(data, given);
    EXPECT_EQ(data->MtiType(), kFE);
    EXPECT_EQ(Types(*x).ListIndex(), 1);
    EXPECT_EQ(Serial(*x).Text(), "Given");
    EXPECT_EQ(Firmware(*x).Text(), "1.5");
    EXPECT_EQ(data->SerialNo(), "Given");

    given->SetSerialNo("Later");
    EXPECT_EQ(data->SerialNo(), "Given");

}

// Only the two types, exactly as at start-up: any other would become a
// registry key of its own (or none) at the next save.
TEST_F(MtiDataTest, SetMtiDataKeepsTheTypeWhenGivenAnUnknownOne) {
    Write(kRoot, "Type", kFE);
    for (const std::string& type : {std::string(""), std::string("pelmo q5 fe"), std::string("Pelmo Q5 F\\x"),
                                    std::string("Other")}) {
        auto x = std::make_shared<XMTIData>();
        auto given = std::make_shared<CMtiData2>();
        given->SetMtiType(type);
        given->SetSerialNo("S" + std::to_string(type.size()));
        given->SetFWVersion("1.0");
        x->SetMtiData(given);
        EXPECT_EQ(x->GetMtiData()->MtiType(), kFE) << type;
        EXPECT_EQ(Types(*x).ListIndex(), 1);
        EXPECT_EQ(Serial(*x).Text(), "S" + std::to_string(type.size()));
        EXPECT_EQ(x->GetMtiData()->FWVersion(), "1.0");
        x->RegSave();
        EXPECT_EQ(Read(kRoot + kFE, "Serial"), "S" + std::to_string(type.size()));
    }
    EXPECT_EQ(Read(kRoot, "Serial"), "");
    EXPECT_EQ(Read(kRoot + "Pelmo Q5 F\\x", "Serial"), "");
    EXPECT_EQ(Read(kRoot, "Type"), kFE);
}

TEST_F(MtiDataTest, RegSaveRefusesAnUnknownType) {
    Write(kRoot, "Type", kFE);
    auto x = std::make_shared<XMTIData>();
    x->GetMtiData()->SetMtiType("");  // the record is handed out and can be changed by anyone
    x->GetMtiData()->SetSerialNo("Lost");
    x->RegSave();
    EXPECT_EQ(Read(kRoot, "Type"), kFE);
    EXPECT_EQ(Read(kRoot, "Serial"), "");
}

TEST_F(MtiDataTest, InitMtiRestrictsToTypeFE) {
    Store(kFE, "FE7", "7.0");
    auto all = std::make_shared<XMTIData>();
    all->InitMTI(true);
    EXPECT_EQ(Types(*all).ListCount(), 2);

    auto x = std::make_shared<XMTIData>();
    x->InitMTI(false);
    ASSERT_EQ(Types(*x).ListCount(), 1);
    EXPECT_EQ(Types(*x).List(0), kFE);
    EXPECT_EQ(Types(*x).ListIndex(), 0);
    EXPECT_EQ(x->GetMtiData()->MtiType(), kFE);
    EXPECT_EQ(Serial(*x).Text(), "FE7");

    Write(kRoot, "Type", kFE);
    auto fe = std::make_shared<XMTIData>();
    ASSERT_TRUE(Serial(*fe).EnterText("Kept"));
    fe->InitMTI(false);
    EXPECT_EQ(Types(*fe).ListCount(), 1);
    EXPECT_EQ(Types(*fe).ListIndex(), 0);
    EXPECT_EQ(fe->GetMtiData()->SerialNo(), "Kept");

    // A second restriction changes nothing.
    x->InitMTI(false);
    ASSERT_EQ(Types(*x).ListCount(), 1);
    EXPECT_EQ(Types(*x).List(0), kFE);
    EXPECT_EQ(Types(*x).ListIndex(), 0);
    EXPECT_EQ(Serial(*x).Text(), "FE7");
}

TEST_F(MtiDataTest, RecordOutlivesTheControl) {
    std::shared_ptr<CMtiData2> data;
    {
        auto x = std::make_shared<XMTIData>();
        ASSERT_TRUE(Serial(*x).EnterText("Left"));
        data = x->GetMtiData();
    }
    EXPECT_EQ(data->SerialNo(), "Left");
}

TEST_F(MtiDataTest, ClassesAreCreatableByProgId) {
    plugin::RegisterShellClasses();
    auto data = plat::CreateObjectAs<CMtiData2>("orvikpelmo2.cmtidata2");
    EXPECT_EQ(data->MtiType(), "");
    EXPECT_TRUE(plat::CreateObjectAs<XMTIData>("OrvikPelmo2.XMTIData"));
    // Left registered, the classes would be served by this program instead of the library.
    for (const auto& served : plugin::ShellClasses()) plat::UnregisterClass(served.progId);
}

}  // namespace
