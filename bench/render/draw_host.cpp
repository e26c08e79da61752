// Draws the host program's window into a folder (PNG, offscreen). A program
// of its own, as the host program loads the plug-in by ProgID and never links
// it. Run by the `screenshots` target into docs/pictures.
#include <cstdio>

#include "bench/render/draw_host_windows.h"
#include "platform/loop/message_loop.h"
#include "platform/qt/qt_renderer.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: draw_host <folder>\n");
        return 2;
    }
    plat::MessageLoop::Reset();
    plat::qt::QtRenderer renderer;
    renderer.Install();
    return DrawHostWindows(renderer, argv[1]) == 0 ? 0 : 1;
}
