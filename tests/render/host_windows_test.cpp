#include "bench/render/draw_host_windows.h"
#include "tests/render/windows_fixture.h"

TEST(HostWindows, EveryWindowShowsItsTextsWhole) {
    EXPECT_EQ(render_test::DrawInScratch(DrawHostWindows), 0);
}
