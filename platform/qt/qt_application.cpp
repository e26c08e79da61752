#include "platform/qt/qt_application.h"

#include <QtWidgets/QApplication>

#include <exception>
#include <utility>

namespace plat::qt {

namespace {

thread_local int tDepth = 0;
thread_local std::exception_ptr tPending;

// Counts events in delivery, so that deferred deletes wait for the outermost one to end.
class CountingApplication final : public QApplication {
public:
    CountingApplication(int& argc, char** argv) : QApplication(argc, argv) {}
    bool notify(QObject* receiver, QEvent* event) override {
        ++tDepth;
        struct Leave {
            ~Leave() { --tDepth; }
        } leave;
        return QApplication::notify(receiver, event);
    }
};

}  // namespace

QApplication& QtApplication::Ensure() {
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) return *app;
    static int argc = 1;
    static char name[] = "orvik";
    static char* argv[] = {name, nullptr};
    // Lives for the process: Qt's own statics outlive main() and expect it gone last.
    static auto* app = new CountingApplication(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    return *app;
}

int QtApplication::DeliveryDepth() { return tDepth; }

void QtApplication::RunDeferredDeletes() {
    if (tDepth != 0 || !QCoreApplication::instance()) return;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace plat::qt

namespace plat::qt {

void QtApplication::KeepPending() {
    if (!tPending) tPending = std::current_exception();
}

void QtApplication::RethrowPending() {
    if (!tPending) return;
    auto error = std::exchange(tPending, nullptr);
    std::rethrow_exception(error);
}

}  // namespace plat::qt
