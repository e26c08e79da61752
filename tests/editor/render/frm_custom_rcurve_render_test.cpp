// The main window as a person uses it on a screen (offscreen): typing R values
// into the grid, picking a make, and its picture.
#include <gtest/gtest.h>

#include <QtTest/QTest>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QTableWidget>

#include <filesystem>
#include <memory>

#include "editor/frm_custom_rcurve.h"
#include "host/language_service.h"
#include "host/registry_key.h"
#include "makes/make_utils.h"
#include "platform/com/fs.h"
#include "platform/com/registry.h"
#include "tests/editor/sample_make.h"
#include "tests/platform/qt/qt_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

class MainWindowRenderTest : public qt_test::RendererFixture {
protected:
    void SetUp() override {
        plat::Registry::UseFile(dir_.File("registry.reg"));
        host::LanguageService().SetLanguagesRoot(dir_.File("languages"));
        host::LanguageService().SetLanguage("English");
        const std::string folder = dir_.Path() + "/makes/";
        plat::fs::CreateFolder(folder);
        auto key = std::make_shared<host::CRegistryKey>();
        key->Create(host::HKey::LocalMachine, makes::kRegistryKey);
        key->WriteValue("Path", folder);
        for (auto [name, redDC, start] : {std::tuple{"Alpha", 1000, 1.5}, std::tuple{"Beta", 2000, 2.0}}) {
            const auto make = editor_test::SampleMake(name, redDC, start);
            ASSERT_TRUE(plat::fs::ReplaceFile(folder + plat::ToLower(name) + ".txt", makes::MakesFileText(*make), 0644));
        }
        window_ = std::make_shared<editor::frmCustomRcurve>();
        window_->Show();
        Settle();
    }
    void TearDown() override {
        window_->OnQueryUnload = nullptr;
        window_->Unload();
        Settle();
    }
    plat::ui::Grid& Grid() { return *window_->Controls().FindAs<plat::ui::Grid>("tliRValue"); }
    QTableWidget* Table() { return Widget<QTableWidget>(Grid()); }
    void ClickCell(int row, int col) {
        QTableWidget* table = Table();
        table->scrollToItem(table->item(row, col));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualItemRect(table->item(row, col)).center());
        Settle();
    }
    QLineEdit* Editor() { return Table()->viewport()->findChild<QLineEdit*>(); }
    const plat::ui::CommandButton& SaveButton() {
        return *window_->Controls().FindAs<plat::ui::CommandButton>("cmdSave");
    }

    test_support::TempDir dir_;
    std::shared_ptr<editor::frmCustomRcurve> window_;
};

TEST_F(MainWindowRenderTest, TypingIntoTheRValueGrid) {
    ASSERT_NE(Table(), nullptr);
    EXPECT_EQ(Table()->item(1, 2)->text(), "1.5");
    ClickCell(3, 2);
    ASSERT_TRUE(Grid().Editing());
    ASSERT_NE(Editor(), nullptr);
    QTest::keyClicks(Editor(), "0x,7");
    QTest::keyClick(Editor(), Qt::Key_Return);
    Settle();
    EXPECT_EQ(Grid().CellText(3, 2), "0.7");
    EXPECT_EQ(Table()->item(3, 2)->text(), "0.7");
    EXPECT_TRUE(SaveButton().Enabled());
    EXPECT_TRUE(Widget(SaveButton())->isEnabled());
    // Enter went on to the next row, whose text is untouched.
    EXPECT_TRUE(Grid().Editing());
    EXPECT_EQ(Grid().EditRow(), 4);
    EXPECT_EQ(Table()->item(4, 2)->text(), "1.47");
    QTest::keyClick(Editor(), Qt::Key_Escape);
    Settle();
    EXPECT_FALSE(Grid().Editing());
}

TEST_F(MainWindowRenderTest, PickingAMakeShowsIt) {
    auto* picker = Widget<QComboBox>(*window_->Controls().Find("cmbCustomRcurve"));
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(picker->currentText(), "Alpha");
    QTest::keyClick(picker, Qt::Key_Down);
    Settle();
    EXPECT_EQ(window_->CurrentMake()->Name(), "Beta");
    EXPECT_EQ(Widget<QLineEdit>(*window_->Controls().Find("txtRDC"))->text(), "2000");
    EXPECT_EQ(Table()->item(1, 2)->text(), "2");
    EXPECT_FALSE(Widget(SaveButton())->isEnabled());
}

TEST_F(MainWindowRenderTest, ThePictureOfTheWindow) {
    const std::string path = dir_.File("main.png");
    ASSERT_TRUE(renderer.SavePicture(*window_, path));
    EXPECT_GT(std::filesystem::file_size(path), 1000u);
}

}  // namespace
