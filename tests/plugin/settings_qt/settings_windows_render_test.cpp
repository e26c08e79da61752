// The make-details dialog, the settings page of the plug-in's defaults and the
// limit view on screen (offscreen Qt): a person's picks, clicks and typing
// reach the windows' handlers.
#include <gtest/gtest.h>

#include <QtTest/QTest>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QTableWidget>

#include "host/language_service.h"
#include "host/limit_standards.h"
#include "host/view/x_limit_view.h"
#include "platform/com/registry.h"
#include "plugin/config/config_classes.h"
#include "plugin/config/f_make_details.h"
#include "plugin/config/x_custom_make.h"
#include "plugin/results/f_limit_data.h"
#include "plugin/results/limit_data.h"
#include "plugin/shell/plugin_setup.h"
#include "plugin/shell/x_plugin_setup.h"
#include "tests/platform/qt/qt_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

makes::OximeterMakePtr MakeOf(const std::string& name, int32_t redDC, const std::string& rvalue) {
    auto make = std::make_shared<makes::COximeterMake>();
    make->SetName(name);
    make->SetFile(name + ".txt");
    make->SetRedDC(redDC);
    make->SetRCurve(std::make_shared<makes::RCurveCollection>());
    for (int32_t spo2 = 50; spo2 <= 100; ++spo2) make->AddRValue(spo2, rvalue);
    return make;
}

// A host window holding a page, as the test host docks the plug-in's pages.
class FHolder : public plat::ui::Form {
public:
    FHolder(std::shared_ptr<plat::ui::UserControl> page, int32_t width, int32_t height) : Form("frmHolder") {
        SetInnerSize(width, height);
        AddObject("xvbPage", std::move(page)).Move(0, 0, width, height);
    }
};

class SettingsWindowsRenderTest : public qt_test::RendererFixture {
protected:
    SettingsWindowsRenderTest() {
        plat::Registry::UseFile(dir.Path() + "/registry.reg");
        host::LanguageService().SetLanguagesRoot(dir.Path() + "/languages");
        host::LanguageService().Reload();
        plugin::RegisterConfigClasses();
    }
    ~SettingsWindowsRenderTest() override {
        for (const auto& served : plugin::ConfigClasses()) plat::UnregisterClass(served.progId);
    }
    void ClickCell(QTableWidget* table, int32_t row, int32_t col) {
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualItemRect(table->item(row, col)).center());
        Settle();
    }
    test_support::TempDir dir;
};

TEST_F(SettingsWindowsRenderTest, APickInTheViewersListShowsThatMakeAndCloseTakesIt) {
    auto list = std::make_shared<makes::MakeList>();
    auto acme = MakeOf("Acme", 1100, "0.5");
    (void)list->Add(acme, "Acme");
    (void)list->Add(MakeOf("Oxi Two", 2200, "0.75"), "Oxi Two");
    auto dialog = std::make_shared<plugin::FMakeDetails>();
    dialog->Load();
    dialog->Initialize(10, acme, list, 2);
    dialog->Show();
    Settle();
    auto view = dialog->View();
    ASSERT_NE(view, nullptr);
    auto* combo = Widget<QComboBox>(view->Controls().Item("cboMakeName"));
    ASSERT_NE(combo, nullptr);
    QTest::keyClick(combo, Qt::Key_Down);
    Settle();
    EXPECT_EQ(Widget<QLineEdit>(view->Controls().Item("txtRDC"))->text().toStdString(), "2200");
    auto* grid = Widget<QTableWidget>(view->Controls().Item("tliRValue"));
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->item(26, 2)->text().toStdString(), "0.75");  // 75 %

    QTest::mouseClick(Widget<QPushButton>(dialog->Controls().Item("cmdClose")), Qt::LeftButton);
    Settle();
    EXPECT_TRUE(dialog->Accepted());
    EXPECT_EQ(dialog->SelectedOximeterMakeName(), "Oxi Two");
    EXPECT_FALSE(dialog->Visible());
    dialog->Unload();
}

TEST_F(SettingsWindowsRenderTest, ThePersonsChoicesOnTheSettingsPageReachTheSettings) {
    const std::string makeFolder = dir.Path() + "/makes/";
    plat::Registry::Instance().WriteValue(plat::Hive::LocalMachine, makes::kRegistryKey, "Path", makeFolder);
    auto make = MakeOf("Acme", 1100, "0.5");
    ASSERT_TRUE(makes::SaveMakesFile(make, "acme.txt", makes::kRegistryKey));
    auto setup = std::make_shared<plugin::CPluginSetup>();
    auto page = std::make_shared<plugin::XPluginSetup>();
    FHolder holder(page, 6600, 3360);
    page->Initialize(plat::Variant(std::static_pointer_cast<plat::Object>(setup)));
    holder.Show();
    Settle();
    auto* combo = Widget<QComboBox>(page->Controls().Item("cboDefaultOximeter"));
    auto* download = Widget<QCheckBox>(page->Controls().Item("chkDownloadCustom"));
    ASSERT_NE(combo, nullptr);
    ASSERT_NE(download, nullptr);
    EXPECT_FALSE(download->isEnabled());
    QTest::keyClick(combo, Qt::Key_End);
    Settle();
    EXPECT_EQ(setup->DefaultOximeterLoc(), 10);
    EXPECT_EQ(setup->DefaultCustomMakeName(), "Acme");
    EXPECT_TRUE(download->isEnabled());
    QTest::mouseClick(download, Qt::LeftButton, {}, QPoint(6, download->height() / 2));
    Settle();
    EXPECT_TRUE(setup->DefaultDownloadPref());
    holder.Unload();
}

TEST_F(SettingsWindowsRenderTest, ABoundTypedIntoTheLimitViewIsStoredInTheLimits) {
    auto limits = std::make_shared<plugin::CLimitData>();
    auto standards = std::make_shared<host::CLimitStandards>();
    auto standard = std::make_shared<host::CLimitStandard>();
    standard->Initialize("Pelmo2", "Bench", 1);
    auto item = std::make_shared<host::CLimitItem>();
    item->Initialize("SpO2", "%", "", "");
    standard->AddItem(item);
    standards->Add(standard);
    auto doc = host::XmlFactory().NewDocument();
    limits->Load(*standards->Save(*doc), nullptr);
    auto dialog = std::dynamic_pointer_cast<plugin::FLimitData>(plugin::NewLimitDataDialog(limits, 100));
    ASSERT_NE(dialog, nullptr);
    FHolder holder(std::make_shared<plat::ui::UserControl>(), 9000, 4500);
    holder.Show();
    dialog->Dock(holder.hWnd());
    dialog->Move(0, 0, 9000, 4500);
    Settle();
    auto view = dialog->View()->ObjectAs<host::XLimitView>();
    auto* table = Widget<QTableWidget>(view->Controls().Item("grdLimits"));
    ASSERT_NE(table, nullptr);
    ClickCell(table, 1, host::XLimitView::kUpperOn);
    ClickCell(table, 1, host::XLimitView::kUpper);
    auto* editor = table->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "1,5");
    QTest::keyClick(editor, Qt::Key_Return);
    Settle();
    auto stored = limits->Standards()->Item(1)->LimitItems()->Item(1);
    EXPECT_TRUE(stored->BoundEnabled(0));
    EXPECT_FLOAT_EQ(stored->BoundValue(0), 1.5f);
    EXPECT_EQ(table->item(1, host::XLimitView::kUpper)->text().toStdString(), "1.5");
    dialog->Unload();
    holder.Unload();
}

}  // namespace
