// vellumark-skin diff: what differs between two skin folders, one line each, in the
// words of the editor's compare window; with -o, the marked sheet. Exit status as
// diff's: 0 the same, 1 different, 2 trouble (wrong usage, a skin that cannot be read).
#include "CliCommand.h"

#include "SkinComparison.h"

namespace {

struct DiffJob {
    PreviewJob a;
    PreviewJob b;
    PreviewSettings volume;
};

DiffJob ReadDiffJob(const CommandContext& context)
{
    const QStringList& positional = context.positional;
    if (positional.size() < 2)
        throw UsageError("The command \"diff\" needs SKIN_A and SKIN_B");
    if (positional.size() > 2)
        throw UsageError("Unexpected argument " + Quoted(positional[2]));
    if (positional[0].isEmpty() || positional[1].isEmpty())
        throw UsageError(positional[0].isEmpty() ? "SKIN_A is empty" : "SKIN_B is empty");
    DiffJob diff;
    ReadOutputOptions(context.parser, "diff", /*required*/ false, diff.a);
    const QString texts = context.parser.value(QStringLiteral("texts"));
    if (context.parser.isSet(QStringLiteral("texts")) && texts.isEmpty())
        throw UsageError("Option \"--texts\" needs a file name");
    diff.a.texts = texts;
    diff.a.overlay = context.parser.value(QStringLiteral("overlay"));
    diff.b = diff.a;
    diff.a.skinDir = positional[0];
    diff.b.skinDir = positional[1];
    diff.volume = SheetVolume(context.parser);
    return diff;
}

} // namespace

std::vector<QCommandLineOption> DiffOptions()
{
    std::vector<QCommandLineOption> options = PreviewJobOptions();
    options.front().setDescription(QStringLiteral("the marked sheet to write: A's ten looks, B's, and B faded with "
                                                  "the pixels that differ marked (the name ends in .png)"));
    options.insert(options.begin() + 1, SheetVolumeOption());
    return options;
}

int RunDiff(CommandContext& context)
{
    const DiffJob diff = ReadDiffJob(context); // UsageError goes to main
    bool same = false;
    const int status = RunDrawing(context, [&] {
        const SkinDocument a = LoadPreviewDocument(diff.a);
        const SkinDocument b = LoadPreviewDocument(diff.b);
        SkinLooks looksA, looksB;
        looksA.Draw(a, a.LangLines, diff.volume);
        looksB.Draw(b, b.LangLines, diff.volume);
        SkinComparison comparison;
        CompareSkins(a, looksA, b, looksB, comparison);
        QString lines;
        for (const SkinDifference& row : comparison.rows)
            lines += row.text + QLatin1Char('\n');
        PrintOut(lines);
        if (!diff.a.output.isEmpty())
            WritePng(ScaledImage(ComparisonSheet(looksA.Sheet(), looksB.Sheet(), comparison.marked), diff.a.scale),
                     diff.a.output);
        same = comparison.Same();
    });
    if (status != ExitOk)
        return ExitUsage; // the reason is on stderr
    return same ? ExitOk : ExitFailure;
}
