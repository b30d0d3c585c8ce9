// Program entry: the main window (its start-up runs while it is created), then the
// hidden About box, then the event loop until the main window closes.
#include "AboutBox.h"
#include "MainWindow.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // The message boxes are titled after the program's name.
    QApplication::setApplicationName(QStringLiteral("Vellumark"));
    // Where QSettings keeps the recent skins: ~/.config/Vellumark/Vellumark.conf.
    QApplication::setOrganizationName(QStringLiteral("Vellumark"));
    // Lets the desktop match the window to its menu entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("vellumark"));

    TMainFrm MainFrm;
    TAbout About(&MainFrm);
    MainFrm.SetAboutBox(&About);
    MainFrm.show();
    return app.exec();
}
