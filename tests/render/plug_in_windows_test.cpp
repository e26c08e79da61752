#include "bench/render/draw_plug_in_windows.h"
#include "tests/render/windows_fixture.h"

TEST(PlugInWindows, EveryWindowShowsItsTextsWhole) {
    EXPECT_EQ(render_test::DrawInScratch(DrawPlugInWindows), 0);
}
