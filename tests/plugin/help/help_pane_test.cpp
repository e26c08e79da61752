// The help pages as the guide shows them beside the results, drawn by the Qt
// renderer: each fits the width the guide gives its help pane when it opens.
// A page wider than the pane gets a horizontal scroll bar, and scrolled it
// hides the starts of its lines.

#include <gtest/gtest.h>

#include <QtWidgets/QApplication>
#include <QtWidgets/QScrollBar>
#include <QtWidgets/QTextBrowser>

#include <memory>

#include "bench/render/shipped_plug_in.h"
#include "host/run_context.h"
#include "platform/loop/message_loop.h"
#include "platform/qt/qt_renderer.h"
#include "plugin/shell/f_test_guide.h"
#include "plugin/shell/mti_data.h"

namespace {

TEST(HelpPane, EveryPageFitsTheWidthOfTheGuidesHelpPane) {
    plat::MessageLoop::Reset();
    plat::qt::QtRenderer renderer;
    renderer.Install();
    {
        ShippedPlugIn plugIn("orvik_help_pane_test.reg");
        for (int32_t testId : {100, 200, 300, 400}) {
            SCOPED_TRACE(testId);
            auto guide = std::make_shared<plugin::FTestGuide>();
            guide->Load();
            guide->InitGuide(plugIn->CreateTest(testId), std::make_shared<host::CTestSetup>(),
                             std::make_shared<plugin::CMtiData2>());
            guide->Show();
            renderer.Flush();
            QApplication::processEvents();
            QWidget* window = renderer.WindowOf(*guide);
            ASSERT_NE(window, nullptr);
            auto* browser = window->findChild<QTextBrowser*>();
            ASSERT_NE(browser, nullptr);
            EXPECT_GT(browser->document()->characterCount(), 1000);  // the page is there
            EXPECT_EQ(browser->horizontalScrollBar()->maximum(), 0)
                << "the page needs " << browser->document()->size().width() << " pixels, the pane has "
                << browser->viewport()->width();
            guide->Unload();
            guide.reset();
            renderer.Flush();
        }
    }
    plat::MessageLoop::Reset();
}

}  // namespace
