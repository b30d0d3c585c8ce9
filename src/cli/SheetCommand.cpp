// vellumark-skin sheet: the ten previews of a skin (five play states side by side,
// repetition one above all) on one PNG, each framed and labelled under it, so an
// author sees every state at a glance. The editor's all-states window shows the
// same sheet (DrawStatesSheet).
#include "CliCommand.h"

#include "StatesSheet.h"

namespace {

struct SheetJob {
    PreviewJob job;
    bool volumeShown = true;
    int volumeLevel = 5;
};

SheetJob ReadSheetJob(const CommandContext& context)
{
    SheetJob sheet;
    sheet.job = ReadPreviewJob(context, "sheet");
    if (context.parser.isSet(QStringLiteral("volume"))) {
        const QString value = context.parser.value(QStringLiteral("volume"));
        // As the editor's All states draws with its Volume box unticked.
        if (value == QLatin1String("off")) {
            sheet.volumeShown = false;
            return sheet;
        }
        const std::optional<int> level = VolumeLevel(value);
        if (!level)
            throw UsageError("Invalid --volume " + Quoted(value) + " (off or 0 to 9)");
        sheet.volumeLevel = *level;
    }
    return sheet;
}

} // namespace

std::vector<QCommandLineOption> SheetOptions()
{
    std::vector<QCommandLineOption> options = PreviewJobOptions();
    options.insert(options.begin() + 1, QCommandLineOption(QStringLiteral("volume"),
                                                           QStringLiteral("volume bar: shown at level N (0 to 9, default 5), or off"),
                                                           QStringLiteral("N|off")));
    return options;
}

int RunSheet(CommandContext& context)
{
    const SheetJob sheet = ReadSheetJob(context); // UsageError goes to main
    return RunDrawing(context, [&] {
        const PreviewSettings volume{/*playState*/ 0, /*repetition*/ 0, sheet.volumeShown, sheet.volumeLevel};
        const QImage drawn = DrawStatesSheet(LoadPreviewDocument(sheet.job), volume);
        WritePng(ScaledImage(drawn, sheet.job.scale), sheet.job.output);
    });
}
