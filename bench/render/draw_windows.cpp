// Draws pictures of windows into a folder (PNG, offscreen): every kind of
// control the renderer shows, and the plug-in's windows. Not a test: run by
// the `screenshots` target into docs/pictures.
//
//   QT_QPA_PLATFORM=offscreen build/dev/bin/draw_windows docs/pictures
#include <cstdio>
#include <filesystem>

#include "bench/render/draw_plug_in_windows.h"
#include "platform/loop/message_loop.h"
#include "platform/qt/qt_renderer.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: draw_windows <folder>\n");
        return 2;
    }
    plat::MessageLoop::Reset();
    plat::qt::QtRenderer renderer;
    renderer.Install();
    return DrawPlugInWindows(renderer, argv[1]) == 0 ? 0 : 1;
}
