#include "platform/qt/qt_application.h"

#include <QtWidgets/QApplication>

#include <cstdlib>
#include <exception>
#include <utility>

namespace plat::qt {

namespace {

thread_local int tDepth = 0;
thread_local std::exception_ptr tPending;

std::string& Name() {
    static std::string name = "orvik";
    return name;
}

std::string& DesktopFileName() {
    static std::string name;
    return name;
}

void ApplyIdentity() {
    QCoreApplication::setApplicationName(QString::fromStdString(Name()));
    QGuiApplication::setDesktopFileName(QString::fromStdString(DesktopFileName()));
}

bool IsSet(const char* variable) {
    const char* value = std::getenv(variable);
    return value && *value;
}

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
    // X11 takes the window's instance name from argv[0], its class from the application name.
    static std::string name = Name();
    static char* argv[] = {name.data(), nullptr};
    // Lives for the process: Qt's own statics outlive main() and expect it gone last.
    static auto* app = new CountingApplication(argc, argv);
    ApplyIdentity();
    QApplication::setQuitOnLastWindowClosed(false);
    return *app;
}

void QtApplication::SetIdentity(std::string name, std::string desktopFileName) {
    Name() = std::move(name);
    DesktopFileName() = std::move(desktopFileName);
    if (QCoreApplication::instance()) ApplyIdentity();
}

std::string QtApplication::MissingDisplay(std::string_view program) {
    if (IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY") || IsSet("QT_QPA_PLATFORM")) return {};
    return std::string(program) +
           ": no display to open its window on (DISPLAY is not set): run it in a desktop session, or over ssh -X";
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
