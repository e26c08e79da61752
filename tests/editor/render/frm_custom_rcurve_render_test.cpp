// The main window as a person uses it on a screen (offscreen): typing R values
// into the grid, picking a make, and its picture.
#include <gtest/gtest.h>

#include <QtGui/QWheelEvent>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QProgressBar>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QTableWidget>

#include <filesystem>
#include <memory>

#include "driver/vti_interface.h"
#include "editor/frm_custom_rcurve.h"
#include "platform/qt/qt_message_box.h"
#include "host/language_service.h"
#include "host/registry_key.h"
#include "makes/make_utils.h"
#include "platform/com/fs.h"
#include "platform/com/registry.h"
#include "tests/editor/sample_make.h"
#include "tests/platform/qt/qt_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

// A driver control whose upload takes as long as `during` pumps: the road
// then shows its sending state on the screen. The wire is the headless tests' part.
class SlowVTIControl : public plat::ControlObject, public drv::IXVTIControl {
public:
    std::function<void()> during;
    int uploads = 0;
    void InitVTI() override {}
    void AbortTest() override {}
    void StartRemote() override {}
    void EndRemote() override {}
    std::string LoadMakeParameters(int32_t, const std::string&, int32_t, int32_t, int32_t,
                                   const drv::KeyedCollection*) override {
        ++uploads;
        if (during) during();
        return {};
    }
    std::string SetMake(const std::string&) override { return {}; }
    std::string SetSpO2(int32_t) override { return {}; }
    std::string SetBPM(int32_t) override { return {}; }
    std::string SetPulseAmplitude(double) override { return {}; }
    std::string SetPresetValue(int32_t) override { return {}; }
    std::string SpO2Name() const override { return "OXY"; }
    std::string BPMName() const override { return "BPM"; }
    std::string PulseAmplitudeName() const override { return "AC"; }
    void ResetInstrument() override {}
    bool UploadCancel() const override { return cancel_; }
    void SetUploadCancel(bool on) override { cancel_ = on; }
    std::string GetProbeResults(drv::KeyedCollection&) override { return {}; }
    std::string GetVersion() override { return {}; }
    std::string SetTLC(int32_t) override { return {}; }

private:
    bool cancel_ = false;
};

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
    // The row of the cell a person sees at that point of the table (-1 for none).
    int RowSeenAt(QPoint point) {
        QWidget* seen = Table()->childAt(point);
        for (auto* view : Table()->findChildren<QAbstractItemView*>())
            if (seen && view->viewport() == seen) return view->indexAt(seen->mapFrom(Table(), point)).row();
        if (seen == Table()->viewport()) return Table()->indexAt(seen->mapFrom(Table(), point)).row();
        return -1;
    }
    const plat::ui::CommandButton& SaveButton() {
        return *window_->Controls().FindAs<plat::ui::CommandButton>("cmdSave");
    }

    // Runs `action` once `ready` holds, looking every 20 ms (for at most 3 s).
    void When(std::function<bool()> ready, std::function<void()> action, int tries = 150) {
        plat::MessageLoop::Current().PostDelayed(20, [this, ready, action, tries] {
            if (ready()) {
                action();
            } else if (tries > 0) {
                When(ready, action, tries - 1);
            }
        });
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

TEST_F(MainWindowRenderTest, AfterAnEmptyRValueTheKeysGoToTheOpenedCell) {
    Grid().SetCellText(17, 2, "");
    window_->Controls().FindAs<plat::ui::CommandButton>("cmdSave")->SetEnabled(true);
    Settle();
    int messages = 0;
    When([] { return plat::qt::QtMessageBoxService::Current() != nullptr; }, [&] {
        ++messages;
        QTest::mouseClick(plat::qt::QtMessageBoxService::Current()->button(QMessageBox::Ok), Qt::LeftButton);
    });
    QTest::mouseClick(Widget<QPushButton>(SaveButton()), Qt::LeftButton);
    Settle();
    ASSERT_EQ(messages, 1);
    ASSERT_TRUE(Grid().Editing());
    // The window active again, as after any message box.
    Table()->window()->activateWindow();
    Settle();
    ASSERT_EQ(QApplication::focusWidget(), Editor());
    QTest::keyClicks(QApplication::focusWidget(), "0.9");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    Settle();
    EXPECT_EQ(Grid().CellText(17, 2), "0.9");
    EXPECT_EQ(Grid().EditRow(), 18);
    EXPECT_EQ(messages, 1);
}

TEST_F(MainWindowRenderTest, TheHeaderRowStaysInViewWhenTheGridScrolls) {
    QTableWidget* table = Table();
    const int x = table->viewport()->x() + table->columnViewportPosition(2) + 5;
    auto headerInView = [&] { return RowSeenAt(QPoint(x, table->frameWidth() + 2)) == 0; };
    auto firstRowInView = [&] { return RowSeenAt(QPoint(x, table->viewport()->y() + 2)); };
    EXPECT_TRUE(headerInView());
    EXPECT_EQ(firstRowInView(), 1);
    // Enter in the last row in view goes on below it.
    ClickCell(table->rowAt(table->viewport()->height() - 2), 2);
    QTest::keyClick(Editor(), Qt::Key_Return);
    Settle();
    ASSERT_GT(Grid().TopRow(), 1);
    EXPECT_TRUE(headerInView());
    EXPECT_EQ(firstRowInView(), Grid().TopRow());
    QTest::keyClick(Editor(), Qt::Key_Escape);
    // A turn of the wheel over the rows, then over the header row.
    for (QPoint point : {table->viewport()->geometry().center(), QPoint(x, table->frameWidth() + 2)}) {
        const int topRow = Grid().TopRow();
        QWidget* under = table->childAt(point);
        const QPointF at(under->mapFrom(table, point));
        QWheelEvent wheel(at, under->mapToGlobal(at), {}, {0, -120}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(under, &wheel);
        Settle();
        EXPECT_TRUE(headerInView());
        EXPECT_EQ(firstRowInView(), Grid().TopRow());
        EXPECT_NE(Grid().TopRow(), topRow);  // the rows moved
    }
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

namespace {

TEST_F(MainWindowRenderTest, SendingShowsTheProgressBarUntilTheUploadEnds) {
    std::shared_ptr<SlowVTIControl> vti;
    plat::RegisterClass(drv::kXVTIControlProgId, [&] {
        vti = std::make_shared<SlowVTIControl>();
        vti->during = [&] {
            Settle(150);
            auto* bar = Widget<QProgressBar>(*window_->Controls().Find("xtgUploading"));
            ASSERT_NE(bar, nullptr);
            EXPECT_TRUE(bar->isVisible());
            EXPECT_TRUE(Widget<QLabel>(*window_->Controls().Find("lblUploading"))->isVisible());
            EXPECT_EQ(Widget<QLabel>(*window_->Controls().Find("lblUploading"))->text().toStdString(), "Sending...");
            auto* close = Widget<QPushButton>(*window_->Controls().Find("cmdClose"));
            EXPECT_EQ(close->text().toStdString(), "&Cancel");
            EXPECT_TRUE(close->isEnabled());
            EXPECT_FALSE(Widget(*window_->Controls().Find("cmdUpload"))->isEnabled());
            EXPECT_FALSE(Table()->isEnabled());
            EXPECT_TRUE(renderer.SavePicture(*window_, dir_.File("sending.png")));
        };
        return vti;
    });
    // The slot dialog: its OK pressed on the screen; then the closing message answered.
    When([] { return plat::ui::FindForm("frmUploadLocation") != nullptr; }, [this] {
        auto* slotDialog = plat::ui::FindForm("frmUploadLocation");
        QTest::mouseClick(Widget<QPushButton>(*slotDialog->Controls().Find("cmdOK")), Qt::LeftButton);
    });
    std::string message;
    When([] { return plat::qt::QtMessageBoxService::Current() != nullptr; }, [&] {
        QMessageBox* box = plat::qt::QtMessageBoxService::Current();
        message = box->text().toStdString();
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
    QTest::mouseClick(Widget<QPushButton>(*window_->Controls().Find("cmdUpload")), Qt::LeftButton);
    Settle();
    plat::UnregisterClass(drv::kXVTIControlProgId);

    ASSERT_NE(vti, nullptr);
    EXPECT_EQ(vti->uploads, 1);
    EXPECT_EQ(message, "The oximeter details were successfully sent to Pelmo Q5.");
    EXPECT_FALSE(window_->Uploading());
    EXPECT_FALSE(Widget<QProgressBar>(*window_->Controls().Find("xtgUploading"))->isVisible());
    EXPECT_EQ(Widget<QPushButton>(*window_->Controls().Find("cmdClose"))->text().toStdString(), "&Close");
    EXPECT_TRUE(Widget(*window_->Controls().Find("cmdUpload"))->isEnabled());
    EXPECT_GT(std::filesystem::file_size(dir_.File("sending.png")), 1000u);
}

}  // namespace
