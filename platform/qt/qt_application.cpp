#include "platform/qt/qt_application.h"

#include <QtWidgets/QApplication>
#include <errno.h>
#include <unistd.h>

#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui/window_identity.h"

namespace plat::qt {

namespace {

thread_local int tDepth = 0;
thread_local std::exception_ptr tPending;

// Names the application as the program asked, whenever that changed.
void ApplyIdentity() {
    static plat::ui::WindowIdentity applied;
    const plat::ui::WindowIdentity& wanted = plat::ui::WindowIdentity::Current();
    if (applied == wanted) return;
    applied = wanted;
    QCoreApplication::setApplicationName(QString::fromStdString(wanted.windowClass));
    QGuiApplication::setDesktopFileName(QString::fromStdString(wanted.desktopFileName));
}

// Qt's messages while the application object is made are held back: when no
// platform starts, Qt's warnings and its page give way to one line of ours.
struct HeldMessage {
    QtMsgType type;
    std::string category;
    QString text;
};
std::vector<HeldMessage>& HeldMessages() {
    static std::vector<HeldMessage> held;
    return held;
}

std::string DisplayNamed() {
    for (const char* variable : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        if (const char* value = std::getenv(variable); value && *value) return std::string(variable) + "=" + value;
    return "no display named";
}

void HoldStartMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type != QtFatalMsg) {
        HeldMessages().push_back({type, context.category ? context.category : "", text});
        return;
    }
    QString reason = text.section('\n', 0, 0);
    for (const HeldMessage& held : HeldMessages())
        if (held.type != QtDebugMsg && held.type != QtInfoMsg) {
            reason = held.text;  // the first complaint names the platform and why it failed
            break;
        }
    std::cerr << program_invocation_short_name << ": no window system to open its window on (" << DisplayNamed()
              << "; Qt says: " << reason.toStdString() << ")" << std::endl;
    ::_exit(1);  // no core: there is nothing to debug
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
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) {
        ApplyIdentity();
        return *app;
    }
    static int argc = 1;
    // X11 takes the window's instance name from argv[0], its class from the application name.
    static std::string name = plat::ui::WindowIdentity::Current().windowClass;
    static char* argv[] = {name.data(), nullptr};
    const QtMessageHandler previous = qInstallMessageHandler(HoldStartMessage);
    // Lives for the process: Qt's own statics outlive main() and expect it gone last.
    static auto* app = new CountingApplication(argc, argv);
    qInstallMessageHandler(previous);
    for (const HeldMessage& held : std::exchange(HeldMessages(), {}))
        previous(held.type, QMessageLogContext(nullptr, 0, nullptr, held.category.c_str()), held.text);
    ApplyIdentity();
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
