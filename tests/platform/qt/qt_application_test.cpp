// The application object takes the names the program gave its windows, also
// when they change after it was made, so that a task bar ties the windows to
// the program's desktop entry.
#include <gtest/gtest.h>

#include <QtWidgets/QApplication>

#include "platform/qt/qt_application.h"
#include "platform/ui/window_identity.h"

namespace {

TEST(QtApplicationTest, TheWindowClassAndDesktopEntryAreTheOnesTheProgramNamed) {
    const plat::ui::WindowIdentity before = plat::ui::WindowIdentity::Current();
    plat::qt::QtApplication::Ensure();
    for (const plat::ui::WindowIdentity& named : {plat::ui::WindowIdentity{"Tamblin", "orvik-tamblin"},
                                                  plat::ui::WindowIdentity{"orvik-host", ""}}) {
        plat::ui::WindowIdentity::Set(named);
        plat::qt::QtApplication::Ensure();
        EXPECT_EQ(QCoreApplication::applicationName().toStdString(), named.windowClass);
        EXPECT_EQ(QGuiApplication::desktopFileName().toStdString(), named.desktopFileName);
    }
    plat::ui::WindowIdentity::Set(before);
    plat::qt::QtApplication::Ensure();
}

}  // namespace
