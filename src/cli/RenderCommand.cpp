// vellumark-skin render: one DrawPreview of a skin folder on a fresh white surface,
// written as PNG. The skin folder is only read.
#include "CliCommand.h"

#include "PreviewRenderer.h"

namespace {

struct RenderOptions {
    PreviewJob job;
    PreviewSettings settings{/*playState*/ 1, /*repetition*/ 0, /*volumeShown*/ false, /*volumeLevel*/ 2};
};

int ParseState(const QString& value)
{
    for (std::size_t i = 0; i < PlayStateNames.size(); ++i)
        if (value == QLatin1String(PlayStateNames[i]))
            return static_cast<int>(i);
    if (value == QLatin1String("none"))
        return -1;
    throw UsageError("invalid --state " + Quoted(value) + " (backward, play, pause, stop, forward or none)");
}

int ParseRepeat(const QString& value)
{
    for (std::size_t i = 0; i < RepeatNames.size(); ++i)
        if (value == QLatin1String(RepeatNames[i]))
            return static_cast<int>(i);
    throw UsageError("invalid --repeat " + Quoted(value) + " (one or all)");
}

void ParseVolume(const QString& value, PreviewSettings& settings)
{
    if (value == QLatin1String("off")) {
        settings.volumeShown = false;
        return;
    }
    const std::optional<int> level = VolumeLevel(value);
    if (!level)
        throw UsageError("invalid --volume " + Quoted(value) + " (off or 0 to 9)");
    settings.volumeShown = true;
    settings.volumeLevel = *level;
}

RenderOptions ParseRenderArgs(const QStringList& args)
{
    RenderOptions options;
    std::vector<CommandOption> accepted = PreviewJobOptions(options.job);
    PreviewSettings& settings = options.settings;
    accepted.push_back({{QStringLiteral("--state")}, true,
                     [&](const QString&, const QString& value) { settings.playState = ParseState(value); }});
    accepted.push_back({{QStringLiteral("--repeat")}, true,
                     [&](const QString&, const QString& value) { settings.repetition = ParseRepeat(value); }});
    accepted.push_back({{QStringLiteral("--volume")}, true,
                     [&](const QString&, const QString& value) { ParseVolume(value, settings); }});
    CompletePreviewJob(options.job, ParseOptions(args, accepted), "render");
    return options;
}

} // namespace

int RunRender(CommandContext& context)
{
    const RenderOptions options = ParseRenderArgs(context.args); // UsageError goes to main
    return RunDrawing(context, [&] {
        const SkinDocument document = LoadPreviewDocument(options.job);
        QImage surface = NewPreviewSurface();
        DrawPreview(surface, document.Model, document.Pictures, document.LangLines, options.settings);
        WritePng(surface, options.job.output);
    });
}
