#pragma once
// The host program's start: the plug-in and the driver made creatable from
// the program's folder, the plug-in loaded by its ProgID, initialised with its
// shipped template and its settings read (RegLoad), the main window shown; the
// program runs while the window is loaded.

#include <functional>
#include <memory>
#include <string>

#include "host/test_element.h"

namespace hostprog {

class HostMain {
public:
    static constexpr const char* kApplicationTitle = "Test host";
    // The class of its windows, the program's name: it has no menu entry.
    static constexpr const char* kWindowClass = "orvik-host";
    static constexpr const char* kPlugInProgId = "OrvikPelmo2.CPelmo2Plugin";
    static constexpr const char* kPlugInLibrary = "liborvikPelmo2.so";
    static constexpr const char* kDriverLibrary = "liborvikPelmo2VTI.so";

    // Registers the plug-in and driver libraries of `programFolder` when their
    // ProgIDs are missing, creates the plug-in, initialises it, reads its
    // settings and registers it for reading saved sequences. nullptr with
    // `error` set when the plug-in cannot be loaded.
    static std::shared_ptr<host::IPlugIn> LoadPlugIn(const std::string& programFolder, std::string& error);

    // Runs the program and returns its exit code. `sequenceFile` (may be
    // empty) is opened at start. `prepareWindows` (the window system's
    // set-up) runs before the first window or message.
    static int Main(const std::string& programFolder, const std::string& sequenceFile,
                    const std::function<void()>& prepareWindows = {});
};

}  // namespace hostprog
