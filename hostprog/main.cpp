// orvik-host, the stand-in test host: runs the plug-in's test sequence.
//   orvik-host [sequence-file]
//   orvik-host --check
// --check starts as the program does (registers and loads the plug-in, which
// reads its template and settings) without any window, prints the plug-in and
// the tests of a new sequence and ends: 0 when there was a test to print.
#include <iostream>
#include <memory>
#include <string>
#include <string_view>

#include "host/test_element.h"
#include "host/test_element_base.h"
#include "hostprog/failure_text.h"
#include "hostprog/host_main.h"
#include "platform/com/com.h"
#include "platform/com/fs.h"
#include "platform/qt/qt_renderer.h"

namespace {

const char kAnchor = 0;

int PrintTests(const host::TestElementPtr& element, int depth) {
    auto info = element->Info();
    std::cout << std::string(2 * depth, ' ') << (info ? info->Name() : "(no name)") << '\n';
    int printed = depth > 0 ? 1 : 0;
    if (auto container = std::dynamic_pointer_cast<host::ITestContainer>(element))
        for (const auto& child : container->NewEnum())
            if (child) printed += PrintTests(child, depth + 1);
    return printed;
}

int Check(const std::string& programFolder) {
    std::string error;
    auto plugIn = hostprog::HostMain::LoadPlugIn(programFolder, error);
    if (!plugIn) {
        std::cerr << "orvik-host: " << error << '\n';
        return 1;
    }
    int printed = 0;
    try {
        std::cout << plugIn->Name() << ' ' << plugIn->Version() << '\n';
        auto tests = plugIn->Tests();
        auto first = tests && tests->Count() > 0 ? tests->Item(1) : nullptr;
        if (auto sequence = first ? plugIn->CreateTest(first->ID()) : nullptr) {
            printed = PrintTests(sequence, 0);
            sequence->Terminate();
        }
    } catch (...) {
        std::cerr << "orvik-host: " << hostprog::FailureText() << '\n';
    }
    host::UnregisterPlugIn(plugIn->ID());
    if (printed == 0) std::cerr << "orvik-host: the plug-in gives no test\n";
    return printed > 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string programFolder = plat::fs::FolderOf(plat::ModulePath(&kAnchor));
    if (argc > 1 && std::string_view(argv[1]) == "--check") return Check(programFolder);
    std::unique_ptr<plat::qt::QtRenderer> renderer;
    return hostprog::HostMain::Main(programFolder, argc > 1 ? argv[1] : "", [&] {
        renderer = std::make_unique<plat::qt::QtRenderer>();
        renderer->Install();
    });
}
