#pragma once
// A renderer installed on a fresh real-clock loop, and pumps bounded in time
// so that a fault fails the test instead of hanging it.

#include <gtest/gtest.h>

#include <QtWidgets/QTableWidget>
#include <QtWidgets/QWidget>

#include <functional>
#include <memory>

#include "platform/loop/message_loop.h"
#include "platform/qt/qt_convert.h"
#include "platform/qt/qt_renderer.h"
#include "platform/ui/ui.h"

namespace qt_test {

class RendererFixture : public ::testing::Test {
protected:
    RendererFixture() {
        plat::MessageLoop::Reset();
        renderer.Install();
    }
    ~RendererFixture() override { plat::MessageLoop::Reset(); }

    // Pumps our loop until `done` or `limitMs` of real time; false on the limit.
    bool PumpUntil(const std::function<bool()>& done, plat::Millis limitMs = 3000) {
        auto& loop = plat::MessageLoop::Current();
        auto late = std::make_shared<bool>(false);
        struct Cancel {
            plat::MessageLoop& loop;
            uint64_t id;
            ~Cancel() { loop.Cancel(id); }  // also when a handler's error ends the pump
        } guard{loop, loop.PostDelayed(limitMs, [late] { *late = true; })};
        loop.RunUntil([&] { return done() || *late; });
        return !*late;
    }
    // Pumps for a while: what code set shows, posted Qt events are delivered.
    void Settle(plat::Millis ms = 30) { PumpUntil([] { return false; }, ms); }
    // Pixels of a length in twips, in the renderer's design units.
    static int Px(int32_t twips) { return plat::qt::ToPixelsX(twips); }
    // The data row a grid's table draws in the highlight colour in that column (-1 for none).
    static int HighlightedRow(const QTableWidget& table, int col) {
        const QColor highlight = table.palette().color(QPalette::Highlight);
        for (int row = 1; row < table.rowCount(); ++row)
            if (table.item(row, col) && table.item(row, col)->background().color() == highlight) return row;
        return -1;
    }
    template <class W = QWidget>
    W* Widget(const plat::ui::Control& control) {
        return qobject_cast<W*>(renderer.WidgetOf(control));
    }

    plat::qt::QtRenderer renderer;
};

}  // namespace qt_test
