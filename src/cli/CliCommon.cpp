#include "CliCommand.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <cstdlib>

namespace {

// Continuation lines are indented for the "Usage: " column.
constexpr const char* RenderSynopsis =
    "vellumark-skin render SKIN_DIR -o OUT.png [--state backward|play|pause|stop|forward|none]\n"
    "                             [--repeat one|all] [--volume off|0..9] [--texts FILE] [--overlay FILE]\n";

constexpr const char* RenderHelp =
    "render: draws the preview of the skin in SKIN_DIR (Ruvex.rvk and 0.gif to 14.gif,\n"
    "read in place) as a 176x220 PNG, with the editor's renderer and font.\n"
    "  -o, --output OUT.png  the PNG to write (required)\n"
    "  --state STATE         play state: backward, play (default), pause, stop, forward\n"
    "                        or none (all buttons disabled)\n"
    "  --repeat MODE         repetition icon: one (default) or all\n"
    "  --volume off|N        volume bar: off (default), or shown at level N (0 to 9)\n"
    "  --texts FILE          sample texts (default: Files/LangRuvex.txt beside the executable)\n"
    "  --overlay FILE        status-line overlay (default: Files/statusline.gif beside the\n"
    "                        executable)\n";

} // namespace

const std::vector<Command>& Commands()
{
    static const std::vector<Command> commands = {
        {"render", RenderSynopsis, RenderHelp, RunRender},
    };
    return commands;
}

QString UsageText()
{
    QString text;
    bool first = true;
    for (const Command& command : Commands()) {
        text += QString::fromLatin1(first ? "Usage: " : "       ") + QString::fromLatin1(command.synopsis);
        first = false;
    }
    text += QStringLiteral("       vellumark-skin --help\n");
    for (const Command& command : Commands())
        text += QStringLiteral("\n") + QString::fromLatin1(command.help);
    text += QStringLiteral("\nExit status: 0 done, 1 error (message on stderr, nothing written), 2 wrong usage.\n");
    return text;
}

std::string ErrorBoxText(const std::string& message)
{
    if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.'))
        return message + ".";
    return message;
}

QString ExecutableFolder()
{
    const QString self = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    if (!self.isEmpty())
        return QFileInfo(self).absolutePath();
    if (QCoreApplication::instance() != nullptr)
        return QFileInfo(QCoreApplication::applicationFilePath()).canonicalPath();
    return QDir::currentPath();
}

QString AssetPath(const QString& fileName)
{
    return QDir(ExecutableFolder()).filePath(QStringLiteral("Files/") + fileName);
}

namespace {

QtMessageHandler previousMessageHandler = nullptr;

// Drops Qt's known harmless start-up notes, so stderr holds only the command's own
// messages; everything else goes on to Qt's handler.
void FilterQtMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg
        && (message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set"))
            || message.startsWith(QLatin1String("QStandardPaths: runtime directory"))
            || message.contains(QLatin1String("propagateSizeHints"))))
        return;
    if (previousMessageHandler != nullptr)
        previousMessageHandler(type, context, message);
}

} // namespace

void UseOffscreenPlatformUnlessSet()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    previousMessageHandler = qInstallMessageHandler(FilterQtMessages);
}

void PrintOut(const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
    std::fflush(stdout);
}

void PrintErr(const QString& text)
{
    PrintErrBytes(text.toLocal8Bit().toStdString());
}

void PrintErrBytes(const std::string& bytes)
{
    std::fwrite(bytes.data(), 1, bytes.size(), stderr);
    std::fflush(stderr);
}
