// vellumark-skin render: one DrawPreview of a skin folder on a fresh white surface,
// written as PNG. The skin folder is only read.
#include "CliCommand.h"

#include "PreviewRenderer.h"

namespace {

struct RenderJob {
    PreviewJob job;
    PreviewSettings settings{/*playState*/ 1, /*repetition*/ 0, /*volumeShown*/ false, /*volumeLevel*/ 2};
};

int ParseState(const QString& value)
{
    QString names;
    for (int i = 0; i < static_cast<int>(PlayStateNames.size()); ++i) {
        if (value == PlayStateWord(i))
            return i;
        names += PlayStateWord(i) + QStringLiteral(", ");
    }
    if (value == QLatin1String("none"))
        return -1;
    names.chop(2);
    throw UsageError("Invalid --state " + Quoted(value) + " (" + names.toStdString() + " or none)");
}

// "backward, play (default), pause, stop, forward".
QString StateWords()
{
    QStringList words;
    for (int i = 0; i < static_cast<int>(PlayStateNames.size()); ++i)
        words << PlayStateWord(i) + (i == PreviewSettings{}.playState ? QStringLiteral(" (default)") : QString());
    return words.join(QStringLiteral(", "));
}

int ParseRepeat(const QString& value)
{
    for (std::size_t i = 0; i < RepeatNames.size(); ++i)
        if (value == QLatin1String(RepeatNames[i]))
            return static_cast<int>(i);
    throw UsageError("Invalid --repeat " + Quoted(value) + " (" + RepeatNames[0] + " or " + RepeatNames[1] + ")");
}

void ParseVolume(const QString& value, PreviewSettings& settings)
{
    if (value == QLatin1String("off")) {
        settings.volumeShown = false;
        return;
    }
    const std::optional<int> level = VolumeLevel(value);
    if (!level)
        throw UsageError("Invalid --volume " + Quoted(value) + " (off or 0 to 9)");
    settings.volumeShown = true;
    settings.volumeLevel = *level;
}

RenderJob ReadRenderJob(const CommandContext& context)
{
    const QCommandLineParser& parser = context.parser;
    RenderJob render;
    render.job = ReadPreviewJob(context, "render");
    if (parser.isSet(QStringLiteral("state")))
        render.settings.playState = ParseState(parser.value(QStringLiteral("state")));
    if (parser.isSet(QStringLiteral("repeat")))
        render.settings.repetition = ParseRepeat(parser.value(QStringLiteral("repeat")));
    if (parser.isSet(QStringLiteral("volume")))
        ParseVolume(parser.value(QStringLiteral("volume")), render.settings);
    return render;
}

} // namespace

std::vector<QCommandLineOption> RenderOptions()
{
    std::vector<QCommandLineOption> options = PreviewJobOptions();
    options.insert(options.begin() + 1, {
        QCommandLineOption(QStringLiteral("state"),
                           QStringLiteral("play state: %1 or none (all buttons disabled)").arg(StateWords()),
                           QStringLiteral("STATE")),
        QCommandLineOption(QStringLiteral("repeat"),
                           QStringLiteral("repetition icon: %1 (default) or %2")
                               .arg(QLatin1String(RepeatNames[0]), QLatin1String(RepeatNames[1])),
                           QStringLiteral("MODE")),
        QCommandLineOption(QStringLiteral("volume"),
                           QStringLiteral("volume bar: off (default), or shown at level N (0 to 9)"),
                           QStringLiteral("off|N")),
    });
    return options;
}

int RunRender(CommandContext& context)
{
    const RenderJob render = ReadRenderJob(context); // UsageError goes to main
    return RunDrawing(context, [&] {
        const SkinDocument document = LoadPreviewDocument(render.job);
        QImage surface = NewPreviewSurface();
        DrawPreview(surface, document.Model, document.Pictures, document.LangLines, render.settings);
        WritePng(ScaledImage(surface, render.job.scale), render.job.output);
    });
}
