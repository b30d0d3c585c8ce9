// Program entry: the command line, then the editing session and the main window
// around it (its start-up runs while it is created), the hidden About box, the skin
// named on the command line, and the event loop until the main window closes.
#include "AboutBox.h"
#include "FilePaths.h"
#include "MainWindow.h"
#include "SkinFormat.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <optional>
#include <system_error>
#include <thread>

#include <csignal>
#include <cstdio>

namespace {

void DeclareCommandLine(QCommandLineParser& parser)
{
    parser.setApplicationDescription(QStringLiteral("Edits the skins of a music player for phones with a %1x%2 display.")
                                         .arg(ScreenWidth)
                                         .arg(ScreenHeight));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("SKIN"),
                                 QStringLiteral("A skin folder, or its %1, to open.").arg(QString::fromLatin1(DescriptionFileName)),
                                 QStringLiteral("[SKIN]"));
}

// --help and --version answer on the terminal, before any window or display is
// needed. Qt's own options are not known yet here, so nothing else is judged; without
// an option there is nothing to answer.
void AnswerHelpOrVersion(int argc, char** argv)
{
    if (std::none_of(argv + 1, argv + argc, [](const char* argument) { return argument[0] == '-'; }))
        return;
    QCoreApplication parsing(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vellumark"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELLUMARK_VERSION));
    QCommandLineParser parser;
    DeclareCommandLine(parser);
    parser.parse(QCoreApplication::arguments());
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();
}

// The skin named on the command line, once the application has taken its own
// options (-platform, -style...) out of argv.
std::optional<QString> SkinArgument(int argc, char** argv)
{
    if (argc < 2)
        return std::nullopt;
    QCommandLineParser parser;
    DeclareCommandLine(parser);
    parser.parse(QCoreApplication::arguments());
    const QStringList skins = parser.positionalArguments();
    if (skins.size() > 1) {
        std::fputs("vellumark: only one skin can be opened\nTry 'vellumark --help'.\n", stderr);
        std::exit(2);
    }
    if (skins.isEmpty())
        return std::nullopt;
    // As the file system spells it: text may lose bytes of a name that is not UTF-8.
    for (int i = 1; i < argc; ++i)
        if (QString::fromLocal8Bit(argv[i]) == skins.front())
            return FileNameFromBytes(argv[i]);
    return skins.front();
}

// Fontconfig's reading of its configuration and font caches is the longest single
// step before the window shows (about 3 ms) and needs nothing of Qt's: it runs on a
// second thread while Qt connects to the display. Qt's first font, after the join,
// finds it done; without the thread Qt reads it then, as it always would.
std::thread ReadFontConfigurationAside()
{
    try {
        return std::thread([] { FcInit(); });
    } catch (const std::system_error&) {
        return {};
    }
}

} // namespace

int main(int argc, char** argv)
{
    // A write past a file-size limit fails with "File too large" instead of ending
    // the program with the edits.
    std::signal(SIGXFSZ, SIG_IGN);
    AnswerHelpOrVersion(argc, argv);

    std::thread fontConfiguration = ReadFontConfigurationAside();
    QApplication app(argc, argv);
    if (fontConfiguration.joinable())
        fontConfiguration.join();
    const std::optional<QString> skin = SkinArgument(argc, argv);
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
