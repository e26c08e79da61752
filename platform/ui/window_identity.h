#pragma once
// How the desktop knows the program's windows: their window class (X11
// WM_CLASS, instance and class both) and the desktop entry a task bar ties them
// to (its file name without ".desktop"; Wayland's app id). The program names
// them at start, before its first window; the renderer gives them to the
// window system. Without a name the class is "orvik".

#include <string>

namespace plat::ui {

struct WindowIdentity {
    std::string windowClass;
    std::string desktopFileName;  // "" when the program has no desktop entry

    bool operator==(const WindowIdentity&) const = default;

    static void Set(WindowIdentity identity);
    static const WindowIdentity& Current();
};

}  // namespace plat::ui
