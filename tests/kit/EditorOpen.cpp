// The editor's Open as a user sees it, for scripts/hostile-kit.sh and for measuring:
// the real main window opens SKIN_DIR as its command-line argument does, then View ›
// All states and View › Canvas open, and every window is shown and painted; then the
// program ends. The executable folder is a fresh one holding the two assets, and what
// the windows remember goes to a folder of this run. Prints the error as the error
// box would show it (no box is opened), and the time each step took to stderr.
//   editor-open SKIN_DIR
#include "DialogService.h"
#include "EditingSession.h"
#include "MainWindow.h"
#include "SkinError.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWidget>

#include <csignal>
#include <cstdio>
#include <memory>

namespace {

// Every dialog cancelled and every message printed: nothing waits for a user.
class PrintingDialogs : public DialogService {
public:
    void ShowError(const QString&, const QString& text) override
    {
        std::printf("error: %s\n", text.toLocal8Bit().constData());
        failed = true;
    }
    void ShowWarning(const QString&, const QString& text) override
    {
        std::printf("warning: %s\n", text.toLocal8Bit().constData());
    }
    UnsavedChangesAnswer AskUnsavedChanges(const QString&, bool) override { return UnsavedChangesAnswer::Cancel; }
    OpenedFolderAnswer AskWriteIntoOpened(const QString&) override { return OpenedFolderAnswer::Cancel; }
    void ShowModal(QDialog&) override {}
    bool Confirm(const QString&) override { return false; }
    bool failed = false;

protected:
    std::optional<QString> RunFileDialog(const FileDialogSettings&, const QString&) override { return std::nullopt; }
    std::optional<QColor> RunColorDialog(const QColor&, const std::vector<QColor>&) override { return std::nullopt; }
    std::optional<int> RunScaleDialog(const QString&, int, int) override { return std::nullopt; }
    std::optional<QString> RunLineDialog(const QString&, const QString&) override { return std::nullopt; }
};

// Lets every pending event run, painting included.
void Settle()
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents(QEventLoop::AllEvents);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: editor-open SKIN_DIR\n");
        return 2;
    }
    std::signal(SIGXFSZ, SIG_IGN);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vellumark"));
    QStandardPaths::setTestModeEnabled(true);

    // The assets beside this helper, copied beside a working folder of this run.
    const QTemporaryDir executableFolder;
    const QString folder = executableFolder.path() + QLatin1Char('/');
    QDir(folder).mkdir(QStringLiteral("Files"));
    const QString assets = QApplication::applicationDirPath() + QStringLiteral("/Files/");
    for (const char* name : {"statusline.gif", "LangRuvex.txt"})
        QFile::copy(assets + QLatin1String(name), folder + QStringLiteral("Files/") + QLatin1String(name));

    EditingSession session([&] { return folder; });
    auto owned = std::make_unique<PrintingDialogs>();
    PrintingDialogs& dialogs = *owned;
    QElapsedTimer clock;
    clock.start();
    TMainFrm window(session, std::move(owned));
    window.show();
    Settle();
    const qint64 started = clock.elapsed();
    window.OpenPath(QFile::decodeName(argv[1]));
    Settle();
    const qint64 opened = clock.elapsed();
    for (const char* name : {"Allstates1", "Canvas1"})
        if (auto* action = window.findChild<QAction*>(QLatin1String(name)))
            action->trigger();
    Settle();
    for (QWidget* shown : QApplication::topLevelWidgets())
        if (shown->isVisible())
            shown->repaint();
    Settle();
    const qint64 done = clock.elapsed();
    std::fprintf(stderr, "editor-open: start-up %lld ms, Open %lld ms, All states and canvas %lld ms\n",
                 static_cast<long long>(started), static_cast<long long>(opened - started),
                 static_cast<long long>(done - opened));
    return dialogs.failed ? 1 : 0;
}
