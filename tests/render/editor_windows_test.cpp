#include "bench/render/draw_editor_windows.h"
#include "tests/render/windows_fixture.h"

TEST(EditorWindows, EveryWindowShowsItsTextsWhole) {
    EXPECT_EQ(render_test::DrawInScratch(DrawEditorWindows), 0);
}
