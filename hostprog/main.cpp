// orvik-host, the stand-in test host: runs the plug-in's test sequence.
//   orvik-host [sequence-file]
#include <memory>
#include <string>

#include "hostprog/host_main.h"
#include "platform/com/com.h"
#include "platform/com/fs.h"
#include "platform/qt/qt_renderer.h"

namespace {
const char kAnchor = 0;
}

int main(int argc, char** argv) {
    std::unique_ptr<plat::qt::QtRenderer> renderer;
    return hostprog::HostMain::Main(plat::fs::FolderOf(plat::ModulePath(&kAnchor)), argc > 1 ? argv[1] : "", [&] {
        renderer = std::make_unique<plat::qt::QtRenderer>();
        renderer->Install();
    });
}
