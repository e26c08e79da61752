#pragma once
// The program's start: one instance at a time, the driver's control made
// creatable, the main window shown; the program runs while the window is
// loaded.

#include <functional>
#include <string>

namespace editor {

class MainMod {
public:
    // The name of the single-instance lock and the title of message boxes.
    static constexpr const char* kApplicationTitle = "Tamblin";
    // How the desktop knows its windows: the class and the menu entry
    // orvik-tamblin.desktop, whose StartupWMClass names this class.
    static constexpr const char* kWindowClass = "Tamblin";
    static constexpr const char* kDesktopFileName = "orvik-tamblin";

    // Runs the program from the folder that holds it (where the driver
    // library lies) and returns its exit code. A second start returns 0 at
    // once, before `prepareWindows` (the window system's set-up) runs or any
    // window is made. `temporaryFolder` holds the one-copy lock's fixed place
    // (tests name one of their own).
    static int Main(const std::string& programFolder, const std::function<void()>& prepareWindows = {},
                    const std::string& temporaryFolder = "/tmp");
};

}  // namespace editor
