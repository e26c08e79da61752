#include "bench/render/draw_and_unload.h"

#include <cstdio>

#include "platform/qt/qt_renderer.h"
#include "platform/ui/form.h"

int DrawAndUnload(plat::qt::QtRenderer& renderer, plat::ui::Form& form, const std::filesystem::path& path) {
    const bool drawn = renderer.SavePicture(form, path.string());
    form.plat::ui::Form::Unload();
    renderer.Flush();
    if (!drawn) {
        std::fprintf(stderr, "could not draw %s\n", path.c_str());
        return 1;
    }
    std::printf("%s\n", path.c_str());
    return 0;
}
