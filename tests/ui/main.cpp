// Runs the window tests headless unless a display platform is chosen.
#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "QuietQt.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    DropHarmlessQtNotes();
    // What the windows remember (canvas, recent skins) goes to a folder of this run,
    // never the user's settings.
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    QApplication app(argc, argv);
    // As a program file name would give it: the error boxes are titled "Vellumark".
    QApplication::setApplicationName("VELLUMARK.EXE");
    QStandardPaths::setTestModeEnabled(true);
    QApplication::setOrganizationName("VellumarkTest");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
