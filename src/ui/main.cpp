// Program entry: the command line, then the editing session and the main window
// around it (its start-up runs while it is created), the hidden About box, the skin
// named on the command line, and the event loop until the main window closes.
#include "AboutBox.h"
#include "FilePaths.h"
#include "MainWindow.h"
#include "TextFile.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QTimer>

#include <optional>

#include <csignal>
#include <cstdio>

namespace {

// --help and --version answer on the terminal, before any window or display is
// needed. Returns the skin to open, if one was named.
std::optional<QString> ParseCommandLine(int argc, char** argv)
{
    QCoreApplication parsing(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vellumark"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELLUMARK_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Edits the skins of a music player for phones with a 176x220 "
                                                    "display."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("SKIN"), QStringLiteral("A skin folder, or its Ruvex.rvk, to open."),
                                 QStringLiteral("[SKIN]"));
    // Options the parser does not know are Qt's own (-platform, -style...): the
    // application takes them, so they are no error here.
    parser.parse(QCoreApplication::arguments());
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();
    // Qt's own options with a value leave that value among the positional words.
    static const QStringList valueOptions = {QStringLiteral("-platform"), QStringLiteral("-display"),
                                             QStringLiteral("-style"), QStringLiteral("-stylesheet"),
                                             QStringLiteral("-qwindowgeometry"), QStringLiteral("-qwindowtitle"),
                                             QStringLiteral("-qwindowicon"), QStringLiteral("-platformpluginpath"),
                                             QStringLiteral("-platformtheme"), QStringLiteral("-plugin")};
    std::optional<QString> skin;
    for (int i = 1; i < argc; ++i) {
        const QString word = QString::fromLocal8Bit(argv[i]);
        if (valueOptions.contains(word) || valueOptions.contains(QLatin1Char('-') + word)) {
            ++i;
        } else if (!word.startsWith(QLatin1Char('-'))) {
            if (skin) {
                std::fputs("vellumark: only one skin can be opened\nTry 'vellumark --help'.\n", stderr);
                std::exit(2);
            }
            // As the file system spells it: text may lose bytes of a name that is not UTF-8.
            skin = FileNameFromBytes(argv[i]);
        }
    }
    return skin;
}

} // namespace

int main(int argc, char** argv)
{
    // A write past a file-size limit fails with "File too large" instead of ending
    // the program with the edits.
    std::signal(SIGXFSZ, SIG_IGN);
    const std::optional<QString> skin = ParseCommandLine(argc, argv);

    QApplication app(argc, argv);
    // The message boxes are titled after the program's name.
    QApplication::setApplicationName(QStringLiteral("Vellumark"));
    QApplication::setApplicationVersion(QStringLiteral(VELLUMARK_VERSION));
    // Where QSettings keeps what the windows remember.
    QApplication::setOrganizationName(QStringLiteral("Vellumark"));
    // Lets the desktop match the window to its menu entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("vellumark"));

    // The session outlives the window, so every view is gone before the skin it shows.
    EditingSession session(RunningExecutableFolder);
    TMainFrm MainFrm(session);
    TAbout About(&MainFrm);
    MainFrm.SetAboutBox(&About);
    MainFrm.show();
    if (skin)
        QTimer::singleShot(0, &MainFrm, [&MainFrm, &skin] { MainFrm.OpenPath(*skin); });
    return app.exec();
}
