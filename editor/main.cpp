// Tamblin, the R-curve editor.
#include <memory>

#include "editor/main_mod.h"
#include "platform/com/com.h"
#include "platform/com/fs.h"
#include "platform/qt/qt_renderer.h"

namespace {
const char kAnchor = 0;
}

int main() {
    std::unique_ptr<plat::qt::QtRenderer> renderer;
    return editor::MainMod::Main(plat::fs::FolderOf(plat::ModulePath(&kAnchor)), [&] {
        renderer = std::make_unique<plat::qt::QtRenderer>();
        renderer->Install();
    });
}
