#include "bench/render/draw_and_unload.h"

#include <cstdio>

#include "bench/render/cut_texts.h"
#include "platform/qt/qt_renderer.h"
#include "platform/ui/form.h"

int DrawPicture(plat::qt::QtRenderer& renderer, plat::ui::Form& form, const std::filesystem::path& path) {
    if (!renderer.SavePicture(form, path.string())) {
        std::fprintf(stderr, "could not draw %s\n", path.c_str());
        return 1;
    }
    std::printf("%s\n", path.c_str());
    const auto cut = CutTexts(renderer, form);
    for (const std::string& text : cut) std::fprintf(stderr, "%s: cut text %s\n", path.filename().c_str(), text.c_str());
    return cut.empty() ? 0 : 1;
}

int DrawAndUnload(plat::qt::QtRenderer& renderer, plat::ui::Form& form, const std::filesystem::path& path) {
    const int failed = DrawPicture(renderer, form, path);
    form.plat::ui::Form::Unload();
    renderer.Flush();
    return failed;
}
