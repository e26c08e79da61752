// Draws the editor program's windows into a folder (PNG, offscreen). A
// program of its own: the editor's make library may not share a binary with
// the plug-in's. Run by the `screenshots` target into docs/pictures.
#include <cstdio>

#include "bench/render/draw_editor_windows.h"
#include "platform/loop/message_loop.h"
#include "platform/qt/qt_renderer.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: draw_editor <folder>\n");
        return 2;
    }
    plat::MessageLoop::Reset();
    plat::qt::QtRenderer renderer;
    renderer.Install();
    return DrawEditorWindows(renderer, argv[1]) == 0 ? 0 : 1;
}
