// vellumark-skin sheet: the ten previews of a skin (five play states side by side,
// repetition one above all) on one PNG, each framed and labelled under it, so an
// author sees every state at a glance. The editor's all-states window shows the
// same sheet (DrawStatesSheet).
#include "CliCommand.h"

#include "StatesSheet.h"

namespace {

struct SheetJob {
    PreviewJob job;
    PreviewSettings volume;
};

SheetJob ReadSheetJob(const CommandContext& context)
{
    return SheetJob{ReadPreviewJob(context, "sheet"), SheetVolume(context.parser)};
}

} // namespace

PreviewSettings SheetVolume(const QCommandLineParser& parser)
{
    PreviewSettings volume{/*playState*/ 0, /*repetition*/ 0, /*volumeShown*/ true, /*volumeLevel*/ 5};
    if (!parser.isSet(QStringLiteral("volume")))
        return volume;
    const QString value = parser.value(QStringLiteral("volume"));
    // As the editor's All states draws with its Volume box unticked.
    if (value == QLatin1String("off")) {
        volume.volumeShown = false;
        return volume;
    }
    const std::optional<int> level = VolumeLevel(value);
    if (!level)
        throw UsageError("Invalid --volume " + Quoted(value) + " (off or 0 to 9)");
    volume.volumeLevel = *level;
    return volume;
}

QCommandLineOption SheetVolumeOption()
{
    return QCommandLineOption(QStringLiteral("volume"), QStringLiteral("volume bar: shown at level N (0 to 9, default 5), or off"),
                              QStringLiteral("N|off"));
}

std::vector<QCommandLineOption> SheetOptions()
{
    std::vector<QCommandLineOption> options = PreviewJobOptions();
    options.insert(options.begin() + 1, SheetVolumeOption());
    return options;
}

int RunSheet(CommandContext& context)
{
    const SheetJob sheet = ReadSheetJob(context); // UsageError goes to main
    return RunDrawing(context, [&] {
        const QImage drawn = DrawStatesSheet(LoadPreviewDocument(sheet.job), sheet.volume);
        WritePng(ScaledImage(drawn, sheet.job.scale), sheet.job.output);
    });
}
