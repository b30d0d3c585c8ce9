#include "CliCommand.h"

#include "FilePaths.h"
#include "GifFile.h"
#include "SkinChecker.h"
#include "ReplacementFile.h"
#include "SkinError.h"
#include "SkinLoader.h"
#include "SkinModel.h"
#include "TextFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>

QString SkinDirArgument(const QStringList& positional, const char* command)
{
    if (positional.isEmpty())
        throw UsageError(std::string("The command \"") + command + "\" needs SKIN_DIR");
    if (positional.size() > 1)
        throw UsageError("Unexpected argument " + Quoted(positional[1]));
    if (positional[0].isEmpty())
        throw UsageError("SKIN_DIR is empty");
    return positional[0];
}

QString SkinFolder(const QString& skinDir)
{
    const QFileInfo info(skinDir);
    // A folder, or its description file: when the folder is there but the file is
    // not, reading it says so.
    if (info.isDir() || (info.fileName() == QLatin1String(DescriptionFileName) && QFileInfo(info.path()).isDir()))
        return SkinPathOf(skinDir).folder;
    if (!info.exists()) {
        // A loop of links, or a folder on the way that cannot be searched, is no
        // missing folder: the system's reason says what it is.
        struct stat status {};
        const QByteArray native = QFile::encodeName(skinDir);
        if (::stat(native.constData(), &status) != 0 && errno != ENOENT && errno != ENOTDIR)
            throw SkinError("Cannot open \"" + DisplayPath(skinDir) + "\". " + SystemReason(errno));
        throw SkinError("No such folder \"" + DisplayPath(skinDir) + "\"");
    }
    throw SkinError("\"" + DisplayPath(skinDir) + "\" is neither a skin folder nor its " + DescriptionFileName);
}

std::string Quoted(const QString& text)
{
    // Built piece by piece: g++ 12 warns falsely (-Wrestrict) on the one-line sum at -O3.
    std::string quoted = "\"";
    quoted += text.toLocal8Bit().toStdString();
    quoted += '"';
    return quoted;
}

std::optional<int> VolumeLevel(const QString& value)
{
    if (value.size() == 1 && value[0] >= QLatin1Char('0') && value[0] <= QLatin1Char('9'))
        return value[0].unicode() - '0';
    return std::nullopt;
}

std::vector<QCommandLineOption> PreviewJobOptions()
{
    return {
        QCommandLineOption({QStringLiteral("o"), QStringLiteral("output")},
                           QStringLiteral("the PNG to write (required; the name ends in .png)"), QStringLiteral("OUT.png")),
        QCommandLineOption(QStringLiteral("scale"), QStringLiteral("each pixel as an NxN block, N from 1 to 8 (default 1)"),
                           QStringLiteral("N")),
        SampleTextsOption(),
        QCommandLineOption(QStringLiteral("overlay"),
                           QStringLiteral("status-line overlay (default: Files/statusline.gif beside the executable)"),
                           QStringLiteral("FILE")),
    };
}

namespace {

QString FileNameValue(const QCommandLineParser& parser, const char* name)
{
    const QString value = parser.value(QString::fromLatin1(name));
    if (parser.isSet(QString::fromLatin1(name)) && value.isEmpty())
        throw UsageError(std::string("Option \"--") + name + "\" needs a file name");
    return value;
}

} // namespace

PreviewJob ReadPreviewJob(const CommandContext& context, const char* command)
{
    const QCommandLineParser& parser = context.parser;
    PreviewJob job;
    job.skinDir = SkinDirArgument(context.positional, command);

    ReadOutputOptions(parser, command, /*required*/ true, job);
    job.texts = FileNameValue(parser, "texts");
    job.overlay = FileNameValue(parser, "overlay");
    return job;
}

void ReadOutputOptions(const QCommandLineParser& parser, const char* command, bool required, PreviewJob& job)
{
    const QStringList outputs = parser.values(QStringLiteral("output"));
    if (outputs.isEmpty() && !required)
        return;
    if (outputs.isEmpty())
        throw UsageError(std::string("The command \"") + command + "\" needs -o OUT.png");
    if (outputs.size() > 1)
        throw UsageError("-o is given " + std::to_string(outputs.size()) + " times; one OUT.png only");
    job.output = outputs.front();
    if (job.output.isEmpty())
        throw UsageError("Option \"-o\" needs a file name");
    // What is written is PNG data: another name would hide that from whoever opens it.
    if (!job.output.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        throw UsageError("-o " + Quoted(job.output) + ": the name must end in \".png\"");

    if (parser.isSet(QStringLiteral("scale"))) {
        const QString value = parser.value(QStringLiteral("scale"));
        const bool digit = value.size() == 1 && value[0] >= QLatin1Char('1') && value[0] <= QLatin1Char('0' + MaxScale);
        if (!digit)
            throw UsageError("Invalid --scale " + Quoted(value) + " (1 to " + std::to_string(MaxScale) + ")");
        job.scale = value[0].unicode() - '0';
    }
}

int RunDrawing(CommandContext& context, const std::function<void()>& work)
{
    UseOffscreenPlatformUnlessSet();
    QGuiApplication app(context.argc, context.argv);
    try {
        work();
    } catch (const std::exception& e) {
        PrintRuntimeError(e.what());
        return ExitFailure;
    }
    return ExitOk;
}

SkinDocument LoadPreviewDocument(const PreviewJob& job)
{
    const QString overlay = job.overlay.isEmpty() ? AssetFilesIn(RunningExecutableFolder()).overlay : job.overlay;
    SkinDocument document;
    const QString folder = SkinFolder(job.skinDir);
    try {
        // The overlay, the texts, then the skin: the first failure ends the load.
        document.Pictures[StatusLineSlot] = LoadGifFile(overlay);
        document.LangLines = ReadSampleTexts(job.texts);
        LoadSkin(document, SkinPathOf(folder).description);
    } catch (const SkinError& e) {
        // The editor's message names no key; here the author is told which line is
        // missing, in check's words, and where to find every other problem.
        const std::string key = KeyWithoutLine(document.Lines);
        if (key.empty() || e.what() != ListIndexErrorText(-1))
            throw;
        const std::string reason = NoLineReason(document.Lines.Lines(), document.DescriptionCut);
        throw SkinError((reason.empty() ? std::string(DescriptionFileName) + ": no line for \"" + key + "\"" : reason)
                        + " (vellumark-skin check SKIN_DIR lists every problem)");
    }
    return document;
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

std::string Sentence(const std::string& message)
{
    if (message.empty() || message.back() == '.')
        return message;
    return message + ".";
}

void PrintRuntimeError(const std::string& message)
{
    PrintErrBytes("vellumark-skin: " + Sentence(message) + "\n");
}
