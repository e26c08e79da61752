// The SpO2 configuration view, headless: opened through the configuration's
// own dialog, docked into a host window and worked by the scripted operator.
#include "plugin/config/x_spo2_simulation_config_view.h"

#include <gtest/gtest.h>

#include "platform/loop/message_loop.h"
#include "platform/loop/virtual_time_scope.h"
#include "platform/ui/keys.h"
#include "plugin/config/config_classes.h"
#include "plugin/config/spo2_config_part.h"
#include "plugin/config/presets.h"
#include "plugin/shell/f_element_setup.h"
#include "tests/plugin/config/spo2_config_fixture.h"
#include "tests/support/fake_test_element.h"
#include "tests/support/ui/scripted_operator.h"

namespace {

using plat::ui::test::ScriptedOperator;
using plugin::CSpO2SimulationConfig;
using plugin::XSpO2SimulationConfigView;

constexpr const char* kHost = "frmHost";
constexpr int32_t kCustomize = 24;  // list position of "Customize"

class HostWindow : public plat::ui::Form {
public:
    HostWindow() : Form(kHost) { SetInnerSize(7000, 5400); }
};

class ConfigViewTest : public plugin_test::Spo2ConfigTest {
protected:
    void SetUp() override {
        Spo2ConfigTest::SetUp();
        plugin::RegisterConfigClasses();
        plugin::RegisterSpO2ConfigurationPart();
        // The fallback must not touch the plug-in-wide default.
        plat::Registry::Instance().WriteValue(plat::Hive::LocalMachine, makes::kRegistryKey, "DefaultMakeLocation",
                                              "7");
    }
    void TearDown() override {
        if (dialog_) dialog_->Unload();
        window_.reset();
        for (const auto& served : plugin::ConfigClasses()) plat::UnregisterClass(served.progId);
        Spo2ConfigTest::TearDown();
    }

    // A test's configuration as a copy of the template makes it: the plug-in
    // defaults and the make folder read in.
    std::shared_ptr<CSpO2SimulationConfig> NewConfig() {
        CSpO2SimulationConfig templ;
        auto config = std::dynamic_pointer_cast<CSpO2SimulationConfig>(templ.Clone());
        element_->config = config;
        config->SetParentTest(element_);
        return config;
    }

    // The configuration's dialog docked into a shown host window.
    XSpO2SimulationConfigView& Open(const std::shared_ptr<CSpO2SimulationConfig>& config, bool locked = false) {
        config_ = config;
        dialog_ = config->CreateDialog();
        EXPECT_TRUE(dialog_);
        auto setup = std::dynamic_pointer_cast<plugin::FElementSetup>(dialog_);
        view_ = setup->SetupControl()->ObjectAs<XSpO2SimulationConfigView>();
        dialog_->SetCallBack(callBack_);
        window_ = std::make_unique<HostWindow>();
        window_->Show();
        dialog_->Dock(window_->hWnd());
        dialog_->Show({});
        if (locked) dialog_->SetLocked(true);
        return *view_;
    }

    template <class T>
    T& Find(const std::string& name) {
        auto* control = dynamic_cast<T*>(ScriptedOperator::FindControl(*window_, name));
        EXPECT_NE(control, nullptr) << name;
        return *control;
    }
    plat::ui::ComboBox& MakeList() { return Find<plat::ui::ComboBox>("cboMakeName"); }
    plat::ui::ComboBox& Presets() { return Find<plat::ui::ComboBox>("cboPresets"); }
    plat::ui::TextBox& Tlc() { return Find<plat::ui::TextBox>("txtTLC"); }
    plat::ui::Grid& Grid() { return Find<plat::ui::Grid>("tliDetails"); }
    plat::ui::TreeView& Tree() { return Find<plat::ui::TreeView>("tvwOptions"); }
    plat::ui::CheckBox& Upload() { return Find<plat::ui::CheckBox>("chkUploadRCurve"); }
    plat::ui::CommandButton& Viewer() { return Find<plat::ui::CommandButton>("cmdAdvanced"); }

    // Runs the operator's steps to the last one.
    static void Run(ScriptedOperator& op) {
        bool finished = false;
        op.Do(kHost, "finish", [&](plat::ui::Form&) { finished = true; });
        plat::MessageLoop::Current().RunUntil([&] { return finished; });
    }
    static std::string StoredDefault() {
        return plat::Registry::Instance().ReadValue(plat::Hive::LocalMachine, makes::kRegistryKey,
                                                    "DefaultMakeLocation");
    }
    void PutThreeMakes() {
        PutMake("Acme", "acme.txt")->TLC();
        auto second = makes_test::FullMake("Oxi Two");
        second->SetTLC(2222);
        makes::SaveMakesFile(second, "oxi.txt", makes::kRegistryKey);
        PutMake("Zeta", "zeta.txt");
    }

    plat::VirtualTimeScope time_;
    std::shared_ptr<test_support::FakeElement> element_ = std::make_shared<test_support::FakeElement>();
    std::shared_ptr<CSpO2SimulationConfig> config_;
    std::shared_ptr<host::IDialog> dialog_;
    std::shared_ptr<XSpO2SimulationConfigView> view_;
    std::unique_ptr<HostWindow> window_;
    int32_t changes_ = 0;
    std::shared_ptr<host::CCallBack> callBack_ = std::make_shared<host::CCallBack>(
        [this](const std::string& name, const std::vector<plat::Variant>& args) {
            EXPECT_EQ(name, "Change");
            EXPECT_TRUE(args.empty());
            ++changes_;
        });
};

TEST_F(ConfigViewTest, OpensOnTheConfigurationsBuiltInMakePresetAndOptions) {
    auto config = NewConfig();
    config->SetOximeterMake(5);
    config->SetSimulationType(0);
    config->SetEnableBtnFlags(CSpO2SimulationConfig::kEnableSkip);
    auto& view = Open(config);
    EXPECT_EQ(view.Config(), config);
    ASSERT_EQ(MakeList().ListCount(), 10);
    EXPECT_EQ(MakeList().Text(), "Masimo");
    EXPECT_EQ(Tlc().Text(), "4000");
    EXPECT_FALSE(Viewer().Enabled()) << "no custom makes";
    EXPECT_FALSE(Viewer().Visible());
    EXPECT_FALSE(Upload().Enabled());
    EXPECT_TRUE(Find<plat::ui::OptionButton>("OptElectrical").Value());
    EXPECT_EQ(config->SimulationType(), 2) << "any type but optical is stored as electrical";
    EXPECT_EQ(Find<plat::ui::Frame>("fraTest").Caption(), "Test Settings");

    ASSERT_EQ(Presets().ListCount(), 25);
    EXPECT_EQ(Presets().Text(), "Normal");
    EXPECT_EQ(Grid().Cols(), 3);
    EXPECT_EQ(Grid().ColWidth(0), 0);
    EXPECT_EQ(Grid().CellText(0, 1), "Parameter");
    EXPECT_EQ(Grid().CellText(3, 1), "Pulse amplitude");
    EXPECT_EQ(Grid().CellText(1, 2), std::to_string(config->SpO2()));
    EXPECT_EQ(Grid().CellText(3, 2), config->PulseAmplitude());
    auto vertical = [&](int32_t row, int32_t col) {
        return static_cast<int>(plat::ui::AlignmentOf(Grid().EffectiveAlignment(row, col)).vertical);
    };
    for (int32_t row = 0; row <= 3; ++row) {
        EXPECT_EQ(vertical(row, 2), vertical(row, 1)) << row;                                 // as its label
        EXPECT_EQ(Grid().EffectiveAlignment(row, 2), Grid().EffectiveAlignment(1, 2)) << row;  // header as values
    }
    EXPECT_FALSE(Grid().Editing());

    auto& tree = Tree();
    EXPECT_EQ(tree.Node("::TG").Image(), "tgs");
    EXPECT_TRUE(tree.Node("::TG").Expanded());
    EXPECT_TRUE(tree.Node("::TG").Bold());
    EXPECT_EQ(tree.Node("NA key").Image(), "chk:off");
    EXPECT_EQ(tree.Node("Skip key").Image(), "chk:on");
    EXPECT_EQ(tree.Node("NA key").Text(), "Enable NA button");
    EXPECT_EQ(changes_, 0) << "opening is no change";
}

TEST_F(ConfigViewTest, OpeningSelectsThePresetByItsIdNeverByItsName) {
    // The stored name may be another language's, or one that two presets share.
    for (const char* stored : {"Normal", "Tachykardie"}) {
        auto config = NewConfig();
        plugin::CPresets().SetSpO2ConfigById(5, *config);
        config->SetPresetName(stored);
        Open(config);
        EXPECT_EQ(Presets().Text(), "Tach") << stored;
        EXPECT_EQ(config->SimulationID(), 5);
        EXPECT_EQ(config->SpO2(), 85);
        EXPECT_EQ(config->PresetName(), "Tach");
        EXPECT_EQ(Grid().CellText(2, 2), "130");
        dialog_->Unload();
    }
}

TEST_F(ConfigViewTest, AMakeThatNamesNoListEntryFallsBackInThisTestOnly) {
    // A custom index with an empty library, a negative index, a custom make that is gone.
    auto empty = NewConfig();
    empty->SetOximeterMake(12);
    Open(empty);
    EXPECT_EQ(MakeList().ListIndex(), 0);
    EXPECT_EQ(empty->OximeterMake(), 0);
    EXPECT_EQ(empty->OximeterMakeName(), "BCI");
    EXPECT_EQ(Tlc().Text(), "1100");
    EXPECT_EQ(StoredDefault(), "7") << "the view never writes the registry";
    dialog_->Unload();

    auto negative = NewConfig();
    negative->SetOximeterMake(-3);
    Open(negative);
    EXPECT_EQ(MakeList().ListIndex(), 0);
    EXPECT_EQ(negative->OximeterMake(), 0);
    dialog_->Unload();

    PutMake("Acme", "acme.txt");
    auto gone = NewConfig();
    gone->SetOximeterMake(11);
    auto stranger = makes_test::FullMake("Gone");
    gone->SetCurrentMake(stranger);
    Open(gone);
    EXPECT_EQ(MakeList().ListCount(), 11);
    EXPECT_EQ(MakeList().ListIndex(), 0);
    EXPECT_EQ(gone->OximeterMake(), 0);
    EXPECT_EQ(gone->CurrentMake(), nullptr);
    EXPECT_TRUE(Viewer().Enabled());
    EXPECT_FALSE(Viewer().Visible()) << "a built-in make is shown";
    EXPECT_EQ(StoredDefault(), "7");
}

TEST_F(ConfigViewTest, BuiltInMakeAndTlcTypedKeyByKey) {
    auto config = NewConfig();
    Open(config);
    ScriptedOperator op;
    op.PickText(kHost, "cboMakeName", "Nellcor")
        .Do(kHost, "the make's TLC", [&](plat::ui::Form&) {
            EXPECT_EQ(config->OximeterMake(), 6);
            EXPECT_EQ(config->OximeterMakeName(), "Nellcor");
            EXPECT_EQ(config->CurrentMake(), nullptr);
            EXPECT_EQ(Tlc().Text(), "3500");
            Tlc().SetText("");
        });
    std::vector<int32_t> stored;
    for (const char* key : {"1", "2", "x", "0", "0"}) {
        op.Type(kHost, "txtTLC", key).Do(kHost, "stored", [&](plat::ui::Form&) { stored.push_back(config->GetTlc()); });
    }
    Run(op);
    EXPECT_EQ(Tlc().Text(), "1200");
    EXPECT_EQ(stored, (std::vector<int32_t>{1, 12, 12, 120, 1200})) << "a letter is discarded";
    EXPECT_EQ(config->GetTlc(), 1200);
    // Another built-in make keeps its own TLC; coming back shows the typed one.
    ASSERT_TRUE(MakeList().PickItem(0));
    EXPECT_EQ(Tlc().Text(), "1100");
    ASSERT_TRUE(MakeList().PickItem(6));
    EXPECT_EQ(Tlc().Text(), "1200");
}

TEST_F(ConfigViewTest, TlcAboveTheRangePutsBackTheTextBeforeAndAnEmptyBoxChangesNothing) {
    auto config = NewConfig();
    config->SetOximeterMake(2);
    Open(config);
    ScriptedOperator op;
    op.Do(kHost, "select all", [&](plat::ui::Form&) { Tlc().SetSelStart(0); Tlc().SetSelLength(10); })
        .Type(kHost, "txtTLC", "4096")
        .Do(kHost, "refused", [&](plat::ui::Form&) {
            EXPECT_EQ(Tlc().Text(), "409");
            EXPECT_EQ(config->GetTlc(), 409);
        })
        .Type(kHost, "txtTLC", "5")
        .Do(kHost, "typing goes on at the end", [&](plat::ui::Form&) {
            EXPECT_EQ(Tlc().Text(), "4095");
            EXPECT_EQ(config->GetTlc(), 4095);
        });
    for (int i = 0; i < 4; ++i) op.Type(kHost, "txtTLC", "\b");
    Run(op);
    EXPECT_EQ(Tlc().Text(), "");
    EXPECT_EQ(config->GetTlc(), 4) << "an emptied box leaves the last TLC";
    ASSERT_TRUE(Grid().UserFocus());
    EXPECT_EQ(Tlc().Text(), "4") << "and shows it again when left";
    // A paste of letters or of a number beyond the range comes back out.
    ASSERT_TRUE(Tlc().EnterText("4095"));
    EXPECT_EQ(config->GetTlc(), 4095);
    ASSERT_TRUE(Tlc().EnterText("12ab"));
    EXPECT_EQ(Tlc().Text(), "4095");
    ASSERT_TRUE(Tlc().EnterText("99999999999999"));
    EXPECT_EQ(Tlc().Text(), "4095");
    EXPECT_EQ(config->GetTlc(), 4095);
}

TEST_F(ConfigViewTest, CustomMakeChosenWithAndWithoutUpload) {
    PutThreeMakes();
    auto config = NewConfig();
    Open(config);
    ASSERT_EQ(MakeList().ListCount(), 13);
    EXPECT_EQ(MakeList().List(10), "Acme");
    EXPECT_EQ(MakeList().List(12), "Zeta");

    ScriptedOperator op;
    op.Pick(kHost, "cboMakeName", 11)
        .Do(kHost, "the custom make", [&](plat::ui::Form&) {
            EXPECT_EQ(config->OximeterMake(), 11);
            EXPECT_EQ(config->OximeterMakeName(), "Oxi Two");
            ASSERT_NE(config->CurrentMake(), nullptr);
            EXPECT_EQ(config->CurrentMake()->Name(), "Oxi Two");
            EXPECT_EQ(Tlc().Text(), "2222");
            EXPECT_TRUE(Viewer().Visible());
            EXPECT_TRUE(Upload().Visible());
            EXPECT_FALSE(config->UploadRCurve());
        })
        .Click(kHost, "chkUploadRCurve")
        .Do(kHost, "upload on", [&](plat::ui::Form&) { EXPECT_TRUE(config->UploadRCurve()); })
        .Do(kHost, "select all", [&](plat::ui::Form&) { Tlc().SetSelStart(0); Tlc().SetSelLength(10); })
        .Type(kHost, "txtTLC", "3030")
        .Click(kHost, "chkUploadRCurve");
    Run(op);
    EXPECT_FALSE(config->UploadRCurve()) << "without upload";
    EXPECT_EQ(config->GetTlc(), 3030);
    EXPECT_EQ(config->CurrentMake()->TLC(), 3030);
    EXPECT_EQ(config->Makes()->Item("Oxi Two")->TLC(), 3030) << "the configuration's library follows";
    EXPECT_EQ(changes_, 0);

    // Opened again, the name finds the make, whatever its letter case.
    config->SetCurrentMake(makes_test::FullMake("OXI TWO"));
    config->SetUploadRCurve(true);
    dialog_->Unload();
    Open(config);
    EXPECT_EQ(MakeList().Text(), "Oxi Two");
    EXPECT_EQ(Upload().Value(), 1);
    EXPECT_TRUE(Upload().Enabled());
}

TEST_F(ConfigViewTest, ViewRCurveTakesOnlyAnAcceptedChoiceAndLockedOnlyLooks) {
    PutThreeMakes();
    auto config = NewConfig();
    Open(config);
    ASSERT_TRUE(MakeList().PickItem(10));

    ScriptedOperator op;
    op.Click(kHost, "cmdAdvanced")
        .Pick("FMakeDetails", "xcmCustomMake.cboMakeName", 2)
        .Close("FMakeDetails")
        .Do(kHost, "the close box is no choice", [&](plat::ui::Form&) {
            EXPECT_EQ(MakeList().Text(), "Acme");
            EXPECT_EQ(config->OximeterMakeName(), "Acme");
            EXPECT_EQ(config->CurrentMake()->Name(), "Acme");
        })
        .Click(kHost, "cmdAdvanced")
        .Pick("FMakeDetails", "xcmCustomMake.cboMakeName", 2)
        .Click("FMakeDetails", "cmdClose");
    Run(op);
    EXPECT_EQ(MakeList().Text(), "Zeta");
    EXPECT_EQ(config->OximeterMake(), 12);
    EXPECT_EQ(config->OximeterMakeName(), "Zeta");
    EXPECT_EQ(config->CurrentMake()->Name(), "Zeta");

    dialog_->SetLocked(true);
    ScriptedOperator locked;
    locked.Click(kHost, "cmdAdvanced")
        .Do("FMakeDetails", "the list is locked", [&](plat::ui::Form& form) {
            auto* list = dynamic_cast<plat::ui::ComboBox*>(ScriptedOperator::FindControl(form, "xcmCustomMake.cboMakeName"));
            ASSERT_NE(list, nullptr);
            EXPECT_TRUE(list->Locked());
            EXPECT_EQ(list->Text(), "Zeta");
            list->SetListIndex(0);  // even a changed list is no choice while locked
        })
        .Click("FMakeDetails", "cmdClose");
    Run(locked);
    EXPECT_EQ(config->OximeterMakeName(), "Zeta");
    EXPECT_EQ(MakeList().Text(), "Zeta");
}

TEST_F(ConfigViewTest, APresetWritesItsValuesAndOnlyCustomizeTakesTypedValues) {
    auto config = NewConfig();
    Open(config);
    ScriptedOperator op;
    op.PickText(kHost, "cboPresets", "Hypox")
        .Do(kHost, "Hypox", [&](plat::ui::Form&) {
            EXPECT_EQ(config->SpO2(), 70);
            EXPECT_EQ(config->BPM(), 95);
            EXPECT_EQ(config->PulseAmplitude(), "2");
            EXPECT_EQ(config->SimulationID(), 3);
            EXPECT_EQ(config->PresetName(), "Hypox");
            EXPECT_EQ(Grid().CellText(1, 2), "70");
            EXPECT_EQ(Grid().CellText(3, 2), "2");
            EXPECT_EQ(Grid().EffectiveBackColor(1, 2), plat::ui::SystemColor(0x0F));
        })
        .ClickCell(kHost, "tliDetails", 1, 2)
        .Do(kHost, "no edit", [&](plat::ui::Form&) { EXPECT_FALSE(Grid().Editing()); })
        .Pick(kHost, "cboPresets", kCustomize)
        .Do(kHost, "custom values", [&](plat::ui::Form&) {
            EXPECT_EQ(config->SimulationID(), 24);
            EXPECT_EQ(config->SpO2(), config->CustomSpO2());
            EXPECT_EQ(Grid().EffectiveBackColor(1, 2), 0xFFFFFF);
        })
        .ClickCell(kHost, "tliDetails", 1, 1)
        .Do(kHost, "captions are not edited", [&](plat::ui::Form&) { EXPECT_FALSE(Grid().Editing()); })
        .ClickCell(kHost, "tliDetails", 1, 2, 2)
        .Do(kHost, "only the left button", [&](plat::ui::Form&) { EXPECT_FALSE(Grid().Editing()); })
        .ClickCell(kHost, "tliDetails", 1, 2)
        .TypeInCell(kHost, "tliDetails", "10")
        .Do(kHost, "stored key by key", [&](plat::ui::Form&) { EXPECT_EQ(config->SpO2(), 10); })
        .TypeInCell(kHost, "tliDetails", "1")
        .Do(kHost, "above 100 leaves the text as it was before the key", [&](plat::ui::Form&) {
            EXPECT_EQ(Grid().EditText(), "10");
            EXPECT_EQ(config->SpO2(), 10) << "the configuration agrees with what shows";
        })
        .TypeInCell(kHost, "tliDetails", "\b\b100\r")
        .Do(kHost, "Enter moves on one row", [&](plat::ui::Form&) {
            EXPECT_EQ(config->SpO2(), 100);
            EXPECT_EQ(config->CustomSpO2(), 100);
            EXPECT_EQ(Grid().CellText(1, 2), "100");
            EXPECT_TRUE(Grid().Editing());
            EXPECT_EQ(Grid().EditRow(), 2);
        })
        .TypeInCell(kHost, "tliDetails", "250")
        .Do(kHost, "BPM to 250", [&](plat::ui::Form&) { EXPECT_EQ(config->BPM(), 250); })
        .TypeInCell(kHost, "tliDetails", "\r")
        .Do(kHost, "stored", [&](plat::ui::Form&) { EXPECT_EQ(Grid().EditRow(), 3); })
        .TypeInCell(kHost, "tliDetails", "3\x1b")
        .Do(kHost, "Escape drops the edit", [&](plat::ui::Form&) {
            EXPECT_FALSE(Grid().Editing());
            EXPECT_EQ(Grid().CellText(3, 2), "5");
            EXPECT_EQ(config->PulseAmplitude(), "5") << "the value from before the edit is back";
        })
        .ClickCell(kHost, "tliDetails", 2, 2)
        .TypeInCell(kHost, "tliDetails", "6x")
        .Do(kHost, "a letter leaves the text as it was before it", [&](plat::ui::Form&) {
            EXPECT_EQ(Grid().EditText(), "6");
            EXPECT_EQ(config->BPM(), 6);
        })
        .PressKey(kHost, "tliDetails", plat::ui::vbKeyHome)
        .PressKey(kHost, "tliDetails", plat::ui::vbKeyDelete)
        .Do(kHost, "Delete after a refused key", [&](plat::ui::Form&) {
            EXPECT_EQ(Grid().EditText(), "");
            EXPECT_EQ(config->BPM(), 250) << "emptied: the value from before the edit";
        })
        .TypeInCell(kHost, "tliDetails", "\x1b")
        .PickText(kHost, "cboPresets", "Normal")
        .Pick(kHost, "cboPresets", kCustomize);
    Run(op);
    EXPECT_EQ(config->SpO2(), 100) << "Customize brings back the typed values";
    EXPECT_EQ(config->BPM(), 250);
    EXPECT_EQ(Grid().CellText(1, 2), "100");
}

TEST_F(ConfigViewTest, AmplitudeTakesItsDecimalsByItsSizeAndPartialTextsStoreNothing) {
    auto config = NewConfig();
    Open(config);
    ASSERT_TRUE(Presets().PickItem(kCustomize));
    ASSERT_EQ(config->PulseAmplitude(), "5");
    auto& grid = Grid();
    ScriptedOperator op;  // no window steps: it only watches for messages
    // A fresh edit of the amplitude cell, typed key by key, committed with Enter.
    auto typed = [&](const std::string& text) {
        EXPECT_TRUE(grid.ClickCell(3, 2));
        EXPECT_TRUE(grid.TypeEditText(text));
        return grid.EditText();
    };
    EXPECT_EQ(typed("5."), "5") << "a whole amplitude takes no decimals";
    EXPECT_TRUE(grid.TypeEditKey('\r'));
    EXPECT_EQ(typed("0.5"), "0.5");
    EXPECT_EQ(config->PulseAmplitude(), "0.5");
    EXPECT_EQ(config->CustomPulseAmplitude(), "0.5");
    EXPECT_TRUE(grid.TypeEditKey('\r'));
    EXPECT_EQ(grid.CellText(3, 2), "0.5");
    EXPECT_EQ(typed("0.55"), "0.5") << "one decimal from 0.1 to 1";
    EXPECT_TRUE(grid.TypeEditKey('\r'));
    EXPECT_EQ(typed("0.03"), "0.0") << "below 0.1 only the simulator's amplitudes";
    EXPECT_TRUE(grid.TypeEditKey('\x1b'));
    EXPECT_EQ(config->PulseAmplitude(), "0.5");
    EXPECT_EQ(typed("0,025"), "0,025");
    EXPECT_EQ(config->PulseAmplitude(), "0,025");
    EXPECT_TRUE(grid.TypeEditKey('\r'));
    EXPECT_EQ(grid.CellText(3, 2), "0.025") << "Enter writes the number back";
    EXPECT_EQ(config->PulseAmplitude(), "0.025");
    EXPECT_EQ(typed("21"), "2") << "at most 20";
    EXPECT_TRUE(grid.TypeEditKey('\x1b'));

    // Emptied, or a pasted sign alone: the value from before the edit, as a commit would keep.
    EXPECT_EQ(typed("2"), "2");
    EXPECT_EQ(config->PulseAmplitude(), "2");
    EXPECT_TRUE(grid.TypeEditKey(8));
    EXPECT_EQ(grid.EditText(), "");
    EXPECT_EQ(config->PulseAmplitude(), "0.025");
    EXPECT_TRUE(grid.EnterEditText("-"));
    EXPECT_EQ(config->PulseAmplitude(), "0.025");
    EXPECT_TRUE(grid.EnterEditText("abc"));
    EXPECT_NE(grid.EditText(), "abc");
    EXPECT_EQ(config->PulseAmplitude(), "0.025");
    EXPECT_TRUE(op.Messages().empty()) << "the view shows no messages";
}

TEST_F(ConfigViewTest, ACommitKeepsTheNumberAsShownOrTheValueFromBeforeTheEdit) {
    auto config = NewConfig();
    Open(config);
    ASSERT_TRUE(Presets().PickItem(kCustomize));
    auto& grid = Grid();
    // Typed, then pasted over, then committed by a click on another cell.
    auto committed = [&](int32_t row, const std::string& typed, const std::string& pasted) {
        EXPECT_TRUE(grid.ClickCell(row, 2));
        EXPECT_TRUE(grid.TypeEditText(typed));
        if (!pasted.empty()) {
            EXPECT_TRUE(grid.EnterEditText(pasted));
        }
        EXPECT_TRUE(grid.ClickCell(row, 1));
        EXPECT_FALSE(grid.Editing());
        return grid.CellText(row, 2);
    };
    // A number only begun commits the value from before the edit.
    for (const char* pasted : {"-", "."}) {
        SCOPED_TRACE(pasted);
        EXPECT_EQ(committed(1, "7", pasted), "98");
        EXPECT_EQ(config->SpO2(), 98);
        EXPECT_EQ(committed(3, "2", pasted), "5");
        EXPECT_EQ(config->PulseAmplitude(), "5");
    }
    // A paste that is no number is refused: what was typed before it stays.
    for (const char* pasted : {"abc", "1e1", "&HA", " 5 5"}) {
        SCOPED_TRACE(pasted);
        EXPECT_EQ(committed(1, "7", pasted), "7");
        EXPECT_EQ(config->SpO2(), 7);
        EXPECT_EQ(committed(3, "2", pasted), "2");
        EXPECT_EQ(config->PulseAmplitude(), "2");
    }
    EXPECT_EQ(committed(1, "98", ""), "98");
    EXPECT_EQ(committed(3, "5", ""), "5");
    EXPECT_EQ(committed(1, "7\b", ""), "98") << "emptied";
    EXPECT_EQ(config->SpO2(), 98);
    // Written as the page writes numbers, whichever way the edit ends.
    EXPECT_EQ(committed(1, "07", ""), "7");
    EXPECT_EQ(config->SpO2(), 7);
    EXPECT_EQ(committed(3, "0,5", ""), "0.5");
    EXPECT_EQ(config->PulseAmplitude(), "0.5");
    EXPECT_EQ(config->CustomPulseAmplitude(), "0.5");
    EXPECT_TRUE(grid.ClickCell(2, 2));
    EXPECT_TRUE(grid.TypeEditText("\b"));
    EXPECT_TRUE(grid.TypeEditKey('\r'));
    EXPECT_EQ(grid.CellText(2, 2), "75") << "Enter on an emptied cell";
    EXPECT_EQ(config->BPM(), 75);
    EXPECT_TRUE(grid.TypeEditText("015"));
    EXPECT_TRUE(Tlc().UserFocus());
    EXPECT_FALSE(grid.Editing());
    EXPECT_EQ(grid.CellText(3, 2), "15") << "committed by a focus move";
    EXPECT_EQ(config->PulseAmplitude(), "15");
}

TEST_F(ConfigViewTest, LockingThePageCommitsTheValueBeingTypedAndTakesNoMoreKeys) {
    auto config = NewConfig();
    Open(config);
    ASSERT_TRUE(Presets().PickItem(kCustomize));
    auto& grid = Grid();
    EXPECT_TRUE(grid.ClickCell(1, 2));
    EXPECT_TRUE(grid.TypeEditText("07"));
    dialog_->SetLocked(true);
    EXPECT_FALSE(grid.Editing());
    EXPECT_EQ(grid.CellText(1, 2), "7");
    EXPECT_FALSE(grid.TypeEditText("5"));
    EXPECT_EQ(config->SpO2(), 7);
}

TEST_F(ConfigViewTest, TestGuideOptionsToggleByClickAndSpaceNotByArrowKeys) {
    auto config = NewConfig();
    Open(config);
    ASSERT_EQ(config->EnableBtnFlags(), 3);
    ScriptedOperator op;
    op.ClickNode(kHost, "tvwOptions", "NA key")
        .Do(kHost, "NA off", [&](plat::ui::Form&) {
            EXPECT_EQ(Tree().Node("NA key").Image(), "chk:off");
            EXPECT_EQ(config->EnableBtnFlags(), 1);
            EXPECT_EQ(changes_, 1);
        })
        .ClickNode(kHost, "tvwOptions", "::TG")
        .Do(kHost, "the root is no option", [&](plat::ui::Form&) {
            EXPECT_EQ(config->EnableBtnFlags(), 1);
            EXPECT_EQ(changes_, 1);
        })
        .PressKey(kHost, "tvwOptions", plat::ui::vbKeyDown)
        .PressKey(kHost, "tvwOptions", plat::ui::vbKeyDown)
        .Do(kHost, "arrows only move", [&](plat::ui::Form&) {
            EXPECT_EQ(Tree().SelectedItem()->Key(), "Skip key");
            EXPECT_EQ(config->EnableBtnFlags(), 1);
        })
        .ClickNode(kHost, "tvwOptions", "NA key")
        .Do(kHost, "a click after arrow keys counts", [&](plat::ui::Form&) { EXPECT_EQ(config->EnableBtnFlags(), 3); })
        .PressKey(kHost, "tvwOptions", plat::ui::vbKeySpace)
        .Do(kHost, "Space toggles", [&](plat::ui::Form&) { EXPECT_EQ(config->EnableBtnFlags(), 1); })
        .ToggleNode(kHost, "tvwOptions", "::TG");
    Run(op);
    EXPECT_TRUE(Tree().Node("::TG").Expanded()) << "the tree stays open";
    EXPECT_EQ(changes_, 3);
}

TEST_F(ConfigViewTest, LockedViewChangesNothingButStillShowsTheCurve) {
    PutThreeMakes();
    auto config = NewConfig();
    Open(config);
    ASSERT_TRUE(Presets().PickItem(kCustomize));
    ASSERT_TRUE(MakeList().PickItem(10));
    dialog_->SetLocked(true);
    EXPECT_TRUE(view_->Locked());
    EXPECT_TRUE(MakeList().Locked());
    EXPECT_TRUE(Tlc().Locked());
    EXPECT_FALSE(Upload().Enabled());
    EXPECT_TRUE(Viewer().Enabled());

    EXPECT_FALSE(MakeList().PickItem(3));
    EXPECT_FALSE(Presets().PickItem(0));
    Tlc().TypeKey('1');
    EXPECT_EQ(Tlc().Text(), "3500");
    EXPECT_FALSE(Tree().ClickNode("NA key")) << "the tree is disabled";
    view_->Controls().FindAs<plat::ui::TreeView>("tvwOptions")->SetEnabled(true);
    EXPECT_TRUE(Tree().ClickNode("NA key"));
    EXPECT_TRUE(Tree().PressKey(plat::ui::vbKeySpace));
    EXPECT_TRUE(Grid().ClickCell(1, 2));
    EXPECT_FALSE(Grid().Editing());
    EXPECT_EQ(config->EnableBtnFlags(), 3);
    EXPECT_EQ(changes_, 0);
    EXPECT_EQ(config->OximeterMake(), 10);

    ScriptedOperator op;
    op.Click(kHost, "cmdAdvanced").Click("FMakeDetails", "cmdClose");
    Run(op);
    EXPECT_EQ(config->OximeterMakeName(), "Acme");

    // Locked before it is filled, the page stays locked.
    dialog_->Unload();
    {
        dialog_ = config->CreateDialog();
        auto setup = std::dynamic_pointer_cast<plugin::FElementSetup>(dialog_);
        auto early = std::make_shared<XSpO2SimulationConfigView>();
        early->SetLocked(true);
        early->Initialize(host::TestElementPtr(element_));
        EXPECT_FALSE(early->Controls().Item("chkUploadRCurve").Enabled());
        EXPECT_TRUE(early->Controls().FindAs<plat::ui::ComboBox>("cboMakeName")->Locked());
    }

    // Unlocked without custom makes, the upload box stays off.
    dialog_->Unload();
    dialog_.reset();
    std::filesystem::remove_all(folder_);
    Open(NewConfig(), true);
    dialog_->SetLocked(false);
    EXPECT_FALSE(Upload().Enabled());
}

}  // namespace
