#pragma once
// The one Qt application object of the process, owned here: the product never
// makes its own and never calls exec(). Made on first use in the thread that
// asks (the UI thread); QT_QPA_PLATFORM chooses the display (offscreen for
// tests and pictures).

#include <string>
#include <string_view>

class QApplication;

namespace plat::qt {

class QtApplication {
public:
    // The application object, made when there is none yet.
    static QApplication& Ensure();
    // Names the program's windows, before the application object is made: the
    // window class (X11 WM_CLASS, instance and class both `name`) and, when
    // given, the desktop entry a task bar ties them to ("orvik-tamblin" for
    // orvik-tamblin.desktop; Wayland's app id). Unnamed, the class is "orvik".
    static void SetIdentity(std::string name, std::string desktopFileName = {});
    // "" when the environment names a display (DISPLAY, WAYLAND_DISPLAY or
    // QT_QPA_PLATFORM), else the one line `program` says instead of Qt's page
    // about platform plug-ins. Touches no Qt.
    static std::string MissingDisplay(std::string_view program);
    // How many Qt events are being delivered on this thread's stack right now;
    // 0 at the top of the loop, where a deferred delete is safe.
    static int DeliveryDepth();
    // Runs the deferred deletes, unless a Qt event is being delivered higher
    // on the stack.
    static void RunDeferredDeletes();

    // Runs our code from inside a Qt event handler. An exception must not
    // cross Qt's event delivery: the first one is kept and RethrowPending
    // throws it where our loop called into Qt, as if the handler had run there.
    template <class F>
    static void Guarded(F&& f) {
        try {
            f();
        } catch (...) {
            KeepPending();
        }
    }
    static void RethrowPending();

private:
    static void KeepPending();
};

}  // namespace plat::qt
