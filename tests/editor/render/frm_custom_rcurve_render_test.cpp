// The main window as a person uses it on a screen (offscreen): typing R values
// into the grid, picking a make, and its picture.
#include <gtest/gtest.h>

#include <QtGui/QKeySequence>
#include <QtGui/QWheelEvent>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QAbstractItemView>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QProgressBar>
#include <QtWidgets/QScrollBar>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QTableWidget>

#include <algorithm>
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
    std::vector<std::string> curve;  // the R values of the last upload
    void InitVTI() override {}
    void AbortTest() override {}
    void StartRemote() override {}
    void EndRemote() override {}
    std::string LoadMakeParameters(int32_t, const std::string&, int32_t, int32_t, int32_t,
                                   const drv::KeyedCollection* values) override {
        ++uploads;
        curve.clear();
        for (int32_t i = 1; values && i <= values->Count(); ++i) curve.push_back(values->Item(i).AsString());
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

    // Answers the message boxes as they come, one button each, and keeps their texts.
    void AnswerBoxes(std::vector<QMessageBox::StandardButton> buttons) {
        if (buttons.empty()) return;
        When([] { return BoxShown() != nullptr; }, [this, buttons] {
            prompts_.push_back(BoxShown()->text().toStdString());
            QTest::mouseClick(BoxShown()->button(buttons.front()), Qt::LeftButton);
            AnswerBoxes({buttons.begin() + 1, buttons.end()});
        });
    }
    // Whether the boxes answered were those, one text of each in order.
    ::testing::AssertionResult Asked(const std::vector<std::string>& texts) {
        bool same = prompts_.size() == texts.size();
        for (std::size_t i = 0; same && i < texts.size(); ++i) same = prompts_[i].find(texts[i]) != std::string::npos;
        if (same) return ::testing::AssertionSuccess();
        auto failure = ::testing::AssertionFailure() << "asked:";
        for (const std::string& prompt : prompts_) failure << " [" << prompt << "]";
        return failure;
    }
    static QMessageBox* BoxShown() {
        QMessageBox* box = plat::qt::QtMessageBoxService::Current();
        return box && box->isVisible() ? box : nullptr;
    }
    // The slot dialog's OK pressed on the screen once it shows.
    void AcceptSlotDialog() {
        When([] { return plat::ui::FindForm("frmUploadLocation") != nullptr; }, [this] {
            auto* slotDialog = plat::ui::FindForm("frmUploadLocation");
            QTest::mouseClick(Widget<QPushButton>(*slotDialog->Controls().Find("cmdOK")), Qt::LeftButton);
        });
    }
    // The R value a make file of the folder stores for that SpO2.
    std::string StoredRValue(const std::string& file, int32_t spo2) {
        const auto make = makes::ReadMakesFile(dir_.Path() + "/makes/" + file);
        if (make && make->RCurve())
            for (const auto& point : *make->RCurve())
                if (point->spo2() == spo2) return point->rvalue();
        return {};
    }
    // Types into the R-value cell of that SpO2 on the screen, and leaves the edit open.
    void TypeIntoCell(int32_t spo2, const char* text) {
        ClickCell(spo2 - 49, 2);
        ASSERT_NE(Editor(), nullptr);
        QTest::keyClicks(Editor(), text);
        Settle();
        ASSERT_TRUE(Grid().Editing());
    }

    test_support::TempDir dir_;
    std::shared_ptr<editor::frmCustomRcurve> window_;
    std::vector<std::string> prompts_;  // of the message boxes answered
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

TEST_F(MainWindowRenderTest, AnotherMakeShowsFromItsFirstRowAndKeysMoveHighlightAndFocusTogether) {
    QTableWidget* table = Table();
    // The row drawn highlighted and the row of the focus frame (the table's current cell).
    auto seen = [&] { return std::pair{HighlightedRow(*table, 2), table->currentIndex().row()}; };
    EXPECT_EQ(seen(), std::pair(1, 1));
    ClickCell(45, 2);
    QTest::keyClick(Editor(), Qt::Key_Escape);
    Settle();
    ASSERT_GT(table->verticalScrollBar()->value(), 20);
    QTest::keyClick(Widget<QComboBox>(*window_->Controls().Find("cmbCustomRcurve")), Qt::Key_Down);
    Settle();
    ASSERT_EQ(window_->CurrentMake()->Name(), "Beta");
    EXPECT_EQ(table->verticalScrollBar()->value(), 0);
    EXPECT_EQ(seen(), std::pair(1, 1));
    // Esc in a cell, then the page keys: the highlight goes where the focus frame goes, in view.
    ClickCell(3, 2);
    QTest::keyClick(Editor(), Qt::Key_Escape);
    Settle();
    for (Qt::Key key : {Qt::Key_PageDown, Qt::Key_PageDown, Qt::Key_PageUp, Qt::Key_End, Qt::Key_Home}) {
        QTest::keyClick(QApplication::focusWidget(), key);
        Settle();
        const int row = Grid().Row();
        EXPECT_EQ(seen(), std::pair(row, row)) << QKeySequence(key).toString().toStdString();
        EXPECT_TRUE(table->viewport()->rect().contains(table->visualRect(table->currentIndex())));
    }
    EXPECT_EQ(Grid().Row(), 1);
}

TEST_F(MainWindowRenderTest, AccessKeysEndTheCellEditBeforeSaveAndSend) {
    // Alt+S: Save writes the value typed into the open cell, a single key is enough.
    TypeIntoCell(52, "2");
    AnswerBoxes({QMessageBox::Yes, QMessageBox::Ok});
    QTest::keyClick(Editor(), Qt::Key_S, Qt::AltModifier);
    PumpUntil([&] { return prompts_.size() == 2 && !BoxShown(); });
    EXPECT_FALSE(Grid().Editing());
    EXPECT_EQ(StoredRValue("alpha.txt", 52), "2");
    EXPECT_TRUE(Asked({"overwrite", "saved"}));

    // Alt+N: the typed value is stored, then sent.
    std::shared_ptr<SlowVTIControl> vti;
    plat::RegisterClass(drv::kXVTIControlProgId, [&] { return vti = std::make_shared<SlowVTIControl>(); });
    prompts_.clear();
    Table()->window()->activateWindow();  // active again, as after any message box
    TypeIntoCell(53, "0.6");
    AnswerBoxes({QMessageBox::Yes, QMessageBox::Yes, QMessageBox::Ok, QMessageBox::Ok});
    AcceptSlotDialog();
    QTest::keyClick(Editor(), Qt::Key_N, Qt::AltModifier);
    PumpUntil([&] { return prompts_.size() == 4 && !BoxShown(); }, 8000);
    plat::UnregisterClass(drv::kXVTIControlProgId);
    EXPECT_FALSE(Grid().Editing());
    EXPECT_EQ(StoredRValue("alpha.txt", 53), "0.6");
    ASSERT_NE(vti, nullptr);
    EXPECT_EQ(vti->uploads, 1);
    EXPECT_NE(std::find(vti->curve.begin(), vti->curve.end(), "0.6"), vti->curve.end());
    EXPECT_TRUE(Asked({"not saved", "overwrite", "saved", "successfully sent"}));
}

TEST_F(MainWindowRenderTest, APickInThePickersListEndsTheCellEditFirst) {
    TypeIntoCell(52, "0.7");
    AnswerBoxes({QMessageBox::Yes, QMessageBox::Yes, QMessageBox::Ok});
    // Picked in the opened list, with the keys of the list.
    auto* picker = Widget<QComboBox>(*window_->Controls().Find("cmbCustomRcurve"));
    picker->showPopup();
    Settle();
    QTest::keyClick(picker->view(), Qt::Key_Down);
    QTest::keyClick(picker->view(), Qt::Key_Return);
    PumpUntil([&] { return prompts_.size() == 3 && !BoxShown(); });
    EXPECT_TRUE(Asked({"Do you want to save the changes?", "overwrite", "saved"}));
    EXPECT_EQ(StoredRValue("alpha.txt", 52), "0.7");
    EXPECT_EQ(window_->CurrentMake()->Name(), "Beta");
    EXPECT_EQ(Table()->item(3, 2)->text(), "1.98");
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
