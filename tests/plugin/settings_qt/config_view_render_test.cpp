// The SpO2 configuration view on screen (offscreen Qt): values typed into the
// configuration grid and picks in the options tree reach the test's configuration.
#include <gtest/gtest.h>

#include <QtTest/QTest>
#include <QtWidgets/QAbstractItemView>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QTableWidget>
#include <QtWidgets/QTreeWidget>

#include "host/language_service.h"
#include "platform/com/registry.h"
#include "plugin/config/spo2_simulation_config.h"
#include "plugin/config/x_spo2_simulation_config_view.h"
#include "tests/platform/qt/qt_fixture.h"
#include "tests/support/fake_test_element.h"
#include "tests/support/temp_dir.h"

namespace {

class FConfigHolder : public plat::ui::Form {
public:
    explicit FConfigHolder(std::shared_ptr<plat::ui::UserControl> page) : Form("frmHolder") {
        SetInnerSize(6900, 5300);
        AddObject("xvbSetupControl", std::move(page)).Move(0, 0, 6900, 5300);
    }
};

class ConfigViewRenderTest : public qt_test::RendererFixture {
protected:
    ConfigViewRenderTest() {
        plat::Registry::UseFile(dir.Path() + "/registry.reg");
        plat::Registry::Instance().WriteValue(plat::Hive::LocalMachine, makes::kRegistryKey, "Path",
                                              dir.Path() + "/makes/");
        host::LanguageService().SetLanguagesRoot(dir.Path() + "/languages");
        host::LanguageService().Reload();
        plugin::CSpO2SimulationConfig templ;
        config = std::dynamic_pointer_cast<plugin::CSpO2SimulationConfig>(templ.Clone());
        element->config = config;
        config->SetParentTest(element);
        holder = std::make_unique<FConfigHolder>(view);
        view->Initialize(host::TestElementPtr(element));
        holder->Show();
        Settle();
    }
    ~ConfigViewRenderTest() override {
        holder->Unload();
        holder.reset();
        Settle();
    }
    template <class W>
    W* Of(const char* name) {
        return Widget<W>(view->Controls().Item(name));
    }
    QLineEdit* Editor() { return Of<QTableWidget>("tliDetails")->viewport()->findChild<QLineEdit*>(); }
    void ClickNode(QTreeWidget* tree, QTreeWidgetItem* item) {
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
        Settle();
    }

    test_support::TempDir dir;
    std::shared_ptr<test_support::FakeElement> element = std::make_shared<test_support::FakeElement>();
    std::shared_ptr<plugin::CSpO2SimulationConfig> config;
    std::shared_ptr<plugin::XSpO2SimulationConfigView> view = std::make_shared<plugin::XSpO2SimulationConfigView>();
    std::unique_ptr<FConfigHolder> holder;
};

TEST_F(ConfigViewRenderTest, CustomValuesTypedIntoTheGridAreStored) {
    auto* presets = Of<QComboBox>("cboPresets");
    ASSERT_NE(presets, nullptr);
    QTest::keyClick(presets, Qt::Key_End);  // "Customize", the last entry
    Settle();
    ASSERT_EQ(config->SimulationID(), 24);
    auto* table = Of<QTableWidget>("tliDetails");
    ASSERT_NE(table, nullptr);
    EXPECT_TRUE(table->isColumnHidden(0) || table->columnWidth(0) == 0);
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualItemRect(table->item(1, 2)).center());
    Settle();
    ASSERT_NE(Editor(), nullptr);
    QTest::keyClicks(Editor(), "95");
    QTest::keyClick(Editor(), Qt::Key_Return);
    Settle();
    EXPECT_EQ(config->SpO2(), 95);
    EXPECT_EQ(config->CustomSpO2(), 95);
    EXPECT_EQ(table->item(1, 2)->text().toStdString(), "95");
    ASSERT_TRUE(view->Controls().FindAs<plat::ui::Grid>("tliDetails")->Editing());
    EXPECT_EQ(view->Controls().FindAs<plat::ui::Grid>("tliDetails")->EditRow(), 2) << "one row on per Enter";
    QTest::keyClicks(Editor(), "120");
    QTest::keyClick(Editor(), Qt::Key_Return);
    Settle();
    EXPECT_EQ(config->BPM(), 120);
    QTest::keyClicks(Editor(), "0.07");
    QTest::keyClick(Editor(), Qt::Key_Return);
    Settle();
    EXPECT_EQ(config->PulseAmplitude(), "0.07");
    EXPECT_EQ(table->item(3, 2)->text().toStdString(), "0.07");
}

TEST_F(ConfigViewRenderTest, AMakePickedInTheListEndsTheCellEditFirst) {
    QTest::keyClick(Of<QComboBox>("cboPresets"), Qt::Key_End);  // "Customize"
    Settle();
    auto* table = Of<QTableWidget>("tliDetails");
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualItemRect(table->item(1, 2)).center());
    Settle();
    ASSERT_NE(Editor(), nullptr);
    QTest::keyClicks(Editor(), "95");
    Settle();
    auto& grid = *view->Controls().FindAs<plat::ui::Grid>("tliDetails");
    ASSERT_TRUE(grid.Editing());
    // Picked in the opened list, with the keys of the list.
    auto* makes = Of<QComboBox>("cboMakeName");
    const std::string before = config->OximeterMakeName();
    makes->showPopup();
    Settle();
    QTest::keyClick(makes->view(), Qt::Key_Down);
    QTest::keyClick(makes->view(), Qt::Key_Return);
    Settle();
    EXPECT_NE(config->OximeterMakeName(), before);
    EXPECT_FALSE(grid.Editing());
    EXPECT_FALSE(Editor()->isVisible());
    EXPECT_EQ(grid.CellText(1, 2), "95");
    EXPECT_EQ(table->item(1, 2)->text().toStdString(), "95");
    EXPECT_EQ(config->SpO2(), 95);
}

TEST_F(ConfigViewRenderTest, AClickInTheTreeTicksAnOptionAndArrowKeysOnlyMove) {
    auto* tree = Of<QTreeWidget>("tvwOptions");
    ASSERT_NE(tree, nullptr);
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    QTreeWidgetItem* root = tree->topLevelItem(0);
    ASSERT_EQ(root->childCount(), 2);
    EXPECT_EQ(root->text(0).toStdString(), "Test Guide Settings");
    ClickNode(tree, root->child(1));  // Skip
    EXPECT_EQ(config->EnableBtnFlags(), plugin::CSpO2SimulationConfig::kEnableNA);
    QTest::keyClick(tree, Qt::Key_Up);
    Settle();
    EXPECT_EQ(config->EnableBtnFlags(), plugin::CSpO2SimulationConfig::kEnableNA) << "arrows only move";
    ClickNode(tree, root->child(1));
    EXPECT_EQ(config->EnableBtnFlags(), 3) << "a click right after arrow keys counts";
}

TEST_F(ConfigViewRenderTest, TheTlcBoxTakesDigitsUpTo4095) {
    auto* tlc = Of<QLineEdit>("txtTLC");
    ASSERT_NE(tlc, nullptr);
    tlc->selectAll();
    QTest::keyClicks(tlc, "40a96");
    Settle();
    EXPECT_EQ(tlc->text().toStdString(), "409");
    EXPECT_EQ(config->GetTlc(), 409);
}

}  // namespace
