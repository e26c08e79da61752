#pragma once
// The one Qt application object of the process, owned here: the product never
// makes its own and never calls exec(). Made on first use in the thread that
// asks (the UI thread); QT_QPA_PLATFORM chooses the display (offscreen for
// tests and pictures).

class QApplication;

namespace plat::qt {

class QtApplication {
public:
    // The application object, made when there is none yet, then named as
    // plat::ui::WindowIdentity says (again whenever that changed). Should Qt
    // find no window system it can start (a platform that does not load),
    // the process says so in one line on stderr and ends with exit 1, as
    // DisplayCheck's refusals do, in place of Qt's page and an abort.
    static QApplication& Ensure();
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
