// vellumark-skin render: one DrawPreview of a skin folder on a fresh white surface,
// written as PNG. The skin folder is only read.
#include "CliCommand.h"

#include "GifPicture.h"
#include "PreviewRenderer.h"
#include "SkinDocument.h"
#include "SkinError.h"
#include "TextFile.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QSaveFile>

#include <optional>

namespace {

struct RenderOptions {
    bool help = false;
    QString skinDir;
    QString output;
    QString texts;   // empty: the asset beside the executable
    QString overlay; // empty: the asset beside the executable
    PreviewSettings settings{/*playState*/ 1, /*repetition*/ 0, /*volumeShown*/ false, /*volumeLevel*/ 2};
};

std::string Quoted(const QString& text)
{
    return "'" + text.toLocal8Bit().toStdString() + "'";
}

int ParseState(const QString& value)
{
    static const char* const names[] = {"backward", "play", "pause", "stop", "forward"};
    for (int i = 0; i < 5; ++i)
        if (value == QLatin1String(names[i]))
            return i;
    if (value == QLatin1String("none"))
        return -1;
    throw UsageError("invalid --state " + Quoted(value) + " (backward, play, pause, stop, forward or none)");
}

int ParseRepeat(const QString& value)
{
    if (value == QLatin1String("one"))
        return 0;
    if (value == QLatin1String("all"))
        return 1;
    throw UsageError("invalid --repeat " + Quoted(value) + " (one or all)");
}

void ParseVolume(const QString& value, PreviewSettings& settings)
{
    if (value == QLatin1String("off")) {
        settings.volumeShown = false;
        return;
    }
    if (value.size() == 1 && value[0] >= QLatin1Char('0') && value[0] <= QLatin1Char('9')) {
        settings.volumeShown = true;
        settings.volumeLevel = value[0].unicode() - '0';
        return;
    }
    throw UsageError("invalid --volume " + Quoted(value) + " (off or 0 to 9)");
}

RenderOptions ParseRenderArgs(const QStringList& args)
{
    RenderOptions options;
    for (const QString& arg : args)
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h"))
            options.help = true;
    if (options.help)
        return options;

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
        static const QStringList known = {QStringLiteral("-o"), QStringLiteral("--output"), QStringLiteral("--state"),
                                          QStringLiteral("--repeat"), QStringLiteral("--volume"),
                                          QStringLiteral("--texts"), QStringLiteral("--overlay")};
        if (!known.contains(arg))
            throw UsageError("unknown option " + Quoted(arg));
        QString value;
        if (inlineValue) {
            value = *inlineValue;
        } else {
            if (i + 1 >= args.size())
                throw UsageError("option " + Quoted(arg) + " needs a value");
            value = args[++i];
        }
        if (arg == QLatin1String("-o") || arg == QLatin1String("--output")) {
            if (value.isEmpty())
                throw UsageError("option " + Quoted(arg) + " needs a file name");
            options.output = value;
        } else if (arg == QLatin1String("--state")) {
            options.settings.playState = ParseState(value);
        } else if (arg == QLatin1String("--repeat")) {
            options.settings.repetition = ParseRepeat(value);
        } else if (arg == QLatin1String("--volume")) {
            ParseVolume(value, options.settings);
        } else if (arg == QLatin1String("--texts")) {
            if (value.isEmpty())
                throw UsageError("option " + Quoted(arg) + " needs a file name");
            options.texts = value;
        } else {
            if (value.isEmpty())
                throw UsageError("option " + Quoted(arg) + " needs a file name");
            options.overlay = value;
        }
    }
    if (positional.isEmpty())
        throw UsageError("render needs SKIN_DIR");
    if (positional.size() > 1)
        throw UsageError("unexpected argument " + Quoted(positional[1]));
    if (positional[0].isEmpty())
        throw UsageError("SKIN_DIR is empty");
    options.skinDir = positional[0];
    if (options.output.isEmpty())
        throw UsageError("render needs -o OUT.png");
    return options;
}

[[noreturn]] void ThrowCreateError(const QString& path, const QString& reason)
{
    throw SkinError("Cannot create file \"" + DisplayPath(path) + "\". " + reason.toLocal8Bit().toStdString());
}

// Writes the PNG whole or not at all.
void WritePng(const QImage& surface, const QString& path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        ThrowCreateError(path, file.errorString());
    if (!surface.save(&file, "PNG")) {
        const QString reason = file.errorString();
        file.cancelWriting();
        ThrowCreateError(path, reason);
    }
    if (!file.commit())
        ThrowCreateError(path, file.errorString());
}

void Render(const RenderOptions& options)
{
    const QString overlayPath = options.overlay.isEmpty() ? AssetPath(QStringLiteral("statusline.gif")) : options.overlay;
    const QString textsPath = options.texts.isEmpty() ? AssetPath(QStringLiteral("LangRuvex.txt")) : options.texts;

    // As the editor: the two assets first, then the skin as LoadSkin loads it.
    SkinDocument document;
    document.Pictures[StatusLineSlot] = LoadGifFile(overlayPath);
    document.LangLines = ReadTextLines(textsPath);
    document.LoadSkin(QDir(options.skinDir).absoluteFilePath(QStringLiteral("Ruvex.rvk")));

    QImage surface = NewPreviewSurface();
    DrawPreview(surface, document.Model, document.Pictures, document.LangLines, options.settings);
    WritePng(surface, options.output);
}

} // namespace

int RunRender(CommandContext& context)
{
    const RenderOptions options = ParseRenderArgs(context.args); // UsageError goes to main
    if (options.help) {
        PrintOut(UsageText());
        return ExitOk;
    }

    UseOffscreenPlatformUnlessSet();
    QGuiApplication app(context.argc, context.argv);
    try {
        Render(options);
    } catch (const SkinError& e) {
        PrintErrBytes(ErrorBoxText(e.what()) + "\n");
        return ExitFailure;
    } catch (const std::exception& e) {
        PrintErrBytes(ErrorBoxText(e.what()) + "\n");
        return ExitFailure;
    }
    return ExitOk;
}
