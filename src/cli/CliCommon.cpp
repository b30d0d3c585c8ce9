#include "CliCommand.h"

#include "GifPicture.h"
#include "ReplacementFile.h"
#include "SkinError.h"
#include "TextFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QBuffer>

#include <algorithm>
#include <cerrno>
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

constexpr const char* SheetSynopsis =
    "vellumark-skin sheet SKIN_DIR -o OUT.png [--volume 0..9] [--texts FILE] [--overlay FILE]\n";

constexpr const char* SheetHelp =
    "sheet: draws the ten previews of the skin in SKIN_DIR into one PNG: the five play\n"
    "states (backward, play, pause, stop, forward) side by side, repetition one above\n"
    "all, each labelled under it, with the volume bar shown.\n"
    "  -o, --output OUT.png  the PNG to write (required)\n"
    "  --volume N            volume level 0 to 9 (default 5)\n"
    "  --texts FILE          sample texts, as for render\n"
    "  --overlay FILE        status-line overlay, as for render\n";

constexpr const char* CheckSynopsis = "vellumark-skin check SKIN_DIR [--quiet]\n";

constexpr const char* CheckHelp =
    "check: reads the skin in SKIN_DIR in place and prints one line per problem, in file\n"
    "order: \"Ruvex.rvk:LINE: ...\" or \"N.gif: ...\". Exit status 0 when there is none,\n"
    "1 when there is at least one.\n"
    "  -q, --quiet           print nothing, only set the exit status\n";

} // namespace

const std::vector<Command>& Commands()
{
    static const std::vector<Command> commands = {
        {"render", RenderSynopsis, RenderHelp, RunRender},
        {"sheet", SheetSynopsis, SheetHelp, RunSheet},
        {"check", CheckSynopsis, CheckHelp, RunCheck},
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
    text += QStringLiteral("\nExit status: 0 done, 1 error (message on stderr, nothing written) or problems found\n"
                           "by check, 2 wrong usage.\n");
    return text;
}

bool HelpRequested(const QStringList& args)
{
    return args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"));
}

QStringList ParseOptions(const QStringList& args, const std::vector<CommandOption>& options)
{
    QStringList positional;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        QString arg = args[i];
        if (optionsEnded || arg == QLatin1String("-") || !arg.startsWith(QLatin1Char('-'))) {
            positional.push_back(arg);
            continue;
        }
        if (arg == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        std::optional<QString> inlineValue;
        if (arg.startsWith(QLatin1String("--"))) {
            const qsizetype equals = arg.indexOf(QLatin1Char('='));
            if (equals > 0) {
                inlineValue = arg.mid(equals + 1);
                arg = arg.left(equals);
            }
        }
        const auto option = std::find_if(options.begin(), options.end(),
                                          [&](const CommandOption& candidate) { return candidate.names.contains(arg); });
        if (option == options.end())
            throw UsageError("unknown option " + Quoted(arg));
        QString value;
        if (!option->takesValue) {
            if (inlineValue)
                throw UsageError("option " + Quoted(arg) + " takes no value");
        } else if (inlineValue) {
            value = *inlineValue;
        } else {
            if (i + 1 >= args.size())
                throw UsageError("option " + Quoted(arg) + " needs a value");
            value = args[++i];
        }
        option->apply(arg, value);
    }
    return positional;
}

QString SkinDirArgument(const QStringList& positional, const char* command)
{
    if (positional.isEmpty())
        throw UsageError(std::string(command) + " needs SKIN_DIR");
    if (positional.size() > 1)
        throw UsageError("unexpected argument " + Quoted(positional[1]));
    if (positional[0].isEmpty())
        throw UsageError("SKIN_DIR is empty");
    return positional[0];
}

std::string Quoted(const QString& text)
{
    // Built piece by piece: g++ 12 warns falsely (-Wrestrict) on the one-line sum at -O3.
    std::string quoted = "'";
    quoted += text.toLocal8Bit().toStdString();
    quoted += '\'';
    return quoted;
}

std::optional<int> VolumeLevel(const QString& value)
{
    if (value.size() == 1 && value[0] >= QLatin1Char('0') && value[0] <= QLatin1Char('9'))
        return value[0].unicode() - '0';
    return std::nullopt;
}

std::vector<CommandOption> PreviewJobOptions(PreviewJob& job)
{
    const auto fileName = [](QString& target) {
        return [&target](const QString& name, const QString& value) {
            if (value.isEmpty())
                throw UsageError("option " + Quoted(name) + " needs a file name");
            target = value;
        };
    };
    return {
        {{QStringLiteral("-o"), QStringLiteral("--output")}, true, fileName(job.output)},
        {{QStringLiteral("--texts")}, true, fileName(job.texts)},
        {{QStringLiteral("--overlay")}, true, fileName(job.overlay)},
    };
}

void CompletePreviewJob(PreviewJob& job, const QStringList& positional, const char* command)
{
    job.skinDir = SkinDirArgument(positional, command);
    if (job.output.isEmpty())
        throw UsageError(std::string(command) + " needs -o OUT.png");
}

int RunDrawing(CommandContext& context, const std::function<void()>& work)
{
    UseOffscreenPlatformUnlessSet();
    QGuiApplication app(context.argc, context.argv);
    try {
        work();
    } catch (const std::exception& e) {
        PrintErrBytes(ErrorBoxText(e.what()) + "\n");
        return ExitFailure;
    }
    return ExitOk;
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

SkinDocument LoadPreviewDocument(const PreviewJob& job)
{
    const QString overlayPath = job.overlay.isEmpty() ? AssetPath(QStringLiteral("statusline.gif")) : job.overlay;
    const QString textsPath = job.texts.isEmpty() ? AssetPath(QStringLiteral("LangRuvex.txt")) : job.texts;
    SkinDocument document;
    document.Pictures[StatusLineSlot] = LoadGifFile(overlayPath);
    document.LangLines = ReadTextLines(textsPath);
    document.LoadSkin(QDir(job.skinDir).absoluteFilePath(QStringLiteral("Ruvex.rvk")));
    return document;
}

void WritePng(const QImage& image, const QString& path)
{
    // Encoded in memory first: a short write of the file then fails the command with
    // the system's reason instead of leaving a truncated PNG.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        throw SkinError(CreateFileError(path, ENOMEM));
    WriteFileReplacing(path, std::string_view(png.constData(), static_cast<std::size_t>(png.size())));
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
    PrintOutBytes(text.toLocal8Bit().toStdString());
}

void PrintErr(const QString& text)
{
    PrintErrBytes(text.toLocal8Bit().toStdString());
}

void PrintOutBytes(const std::string& bytes)
{
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
}

void PrintErrBytes(const std::string& bytes)
{
    std::fwrite(bytes.data(), 1, bytes.size(), stderr);
    std::fflush(stderr);
}
