// orvik-host, the stand-in test host: runs the plug-in's test sequence (see kUsage).
// --check starts as the program does (registers and loads the plug-in, which
// reads its template and settings) without any window, so without a display.
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "host/test_element.h"
#include "host/test_element_base.h"
#include "hostprog/failure_text.h"
#include "hostprog/host_main.h"
#include "platform/com/com.h"
#include "platform/com/fs.h"
#include "platform/qt/display_check.h"
#include "platform/qt/qt_renderer.h"

namespace {

const char kAnchor = 0;
constexpr const char* kUsage =
    "usage: orvik-host [--] [SEQUENCE-FILE]\n"
    "       orvik-host --check\n"
    "The stand-in test host: runs the plug-in's test sequence, opening SEQUENCE-FILE\n"
    "(a sequence saved with its results, XML) when given.\n"
    "\n"
    "  --check  load the plug-in without a window and print the tests of a new\n"
    "           sequence: 0 when there was a test to print\n"
    "  --help   this text\n"
    "  --       ends the options: a SEQUENCE-FILE may then begin with \"-\"\n";

int UsageError(const std::string& why) {
    std::cerr << "orvik-host: " << why << '\n' << kUsage;
    return 2;
}

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
    bool check = false;
    bool optionsEnded = false;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (optionsEnded || arg == "-" || !arg.starts_with('-')) {
            files.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return 0;
        } else if (arg == "--check") {
            check = true;
        } else {
            return UsageError("unknown option " + arg);
        }
    }
    if (files.size() > 1) return UsageError("one sequence file at most");
    if (check && !files.empty()) return UsageError("--check opens no sequence file");

    const std::string programFolder = plat::fs::FolderOf(plat::ModulePath(&kAnchor));
    if (check) return Check(programFolder);
    if (const std::string why = plat::qt::DisplayCheck::Problem("orvik-host"); !why.empty()) {
        std::cerr << why << '\n';
        return 1;
    }
    std::unique_ptr<plat::qt::QtRenderer> renderer;
    return hostprog::HostMain::Main(programFolder, files.empty() ? "" : files.front(), [&] {
        renderer = std::make_unique<plat::qt::QtRenderer>();
        renderer->Install();
    });
}
