// vellumark-skin check: prints every problem of a skin folder, one line each, then
// where the sample texts do not fit ("warning: "), and says by its exit status
// whether there was any problem; warnings count only with --strict. Reads the skin
// in place; draws it to find the warnings, with a QGuiApplication for the fonts.
#include "CliCommand.h"

#include "SkinFolderCheck.h"
#include "SkinError.h"
#include "SkinLoader.h"
#include "TextFitWarnings.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

std::vector<QCommandLineOption> CheckOptions()
{
    return {SampleTextsOption(),
            QCommandLineOption(QStringLiteral("strict"), QStringLiteral("warnings count as problems (exit status 1)")),
            QCommandLineOption({QStringLiteral("q"), QStringLiteral("quiet")},
                               QStringLiteral("print nothing, only set the exit status")),
            QCommandLineOption({QStringLiteral("v"), QStringLiteral("verbose")},
                               QStringLiteral("end with what was found (\"no problems\" on a clean skin) and the "
                                              "sample texts used"))};
}

namespace {

// "2 problems, 1 warning", or "no problems".
std::string Summary(std::size_t problems, std::size_t warnings)
{
    const auto count = [](std::size_t n, const char* word) {
        return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
    };
    std::string summary = problems == 0 ? std::string("no problems") : count(problems, "problem");
    if (warnings != 0)
        summary += ", " + count(warnings, "warning");
    return summary;
}

// Which texts the warnings were drawn with, as --texts names them.
QString TextsUsed(const QString& value)
{
    if (value == QLatin1String("long") || value == QLatin1String("short"))
        return QStringLiteral("the built-in %1 set").arg(value);
    const QString file = value.isEmpty() ? AssetFilesIn(RunningExecutableFolder()).texts : value;
    return QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath());
}

} // namespace

int RunCheck(CommandContext& context)
{
    const bool quiet = context.parser.isSet(QStringLiteral("quiet"));
    const bool strict = context.parser.isSet(QStringLiteral("strict"));
    const bool verbose = context.parser.isSet(QStringLiteral("verbose"));
    const QString skinDir = SkinDirArgument(context.positional, "check"); // UsageError goes to main
    const QString texts = context.parser.value(QStringLiteral("texts"));
    if (context.parser.isSet(QStringLiteral("texts")) && texts.isEmpty())
        throw UsageError("Option \"--texts\" needs a file name");

    UseOffscreenPlatformUnlessSet();
    QGuiApplication app(context.argc, context.argv);
    std::vector<SkinProblem> problems;
    std::vector<SkinProblem> warnings;
    bool textsChecked = true;
    try {
        const QString folder = SkinFolder(skinDir);
        std::string description; // read once: the warnings speak of the bytes checked
        problems = CheckSkinFolder(folder, &description);
        std::optional<TextLines> sampleTexts;
        try {
            sampleTexts = ReadSampleTexts(texts);
        } catch (const SkinError& e) {
            if (!texts.isEmpty())
                throw; // the texts asked for: no check can be told as done without them
            // The shipped asset is missing: the problems are still found, as before
            // there were warnings, and the author is told what was left out.
            textsChecked = false;
            if (!quiet)
                PrintRuntimeError(std::string("The sample texts were not checked: ") + e.what());
        }
        if (sampleTexts && !description.empty())
            warnings = SampleTextWarnings(description, *sampleTexts);
    } catch (const std::exception& e) {
        if (!quiet)
            PrintRuntimeError(e.what());
        return ExitFailure;
    }
    if (!quiet) {
        std::string report;
        for (const SkinProblem& problem : problems)
            report += ProblemLine(problem) + "\n";
        for (const SkinProblem& warning : warnings)
            report += WarningLine(warning) + "\n";
        PrintOutBytes(report);
        if (verbose)
            PrintOut(QString::fromStdString(Summary(problems.size(), warnings.size())) + QStringLiteral("\nsample texts: ")
                     + (textsChecked ? TextsUsed(texts) : QStringLiteral("none (not checked)")) + QLatin1Char('\n'));
    }
    // Warnings alone leave the status scripts rely on as it was.
    return problems.empty() && (!strict || (warnings.empty() && textsChecked)) ? ExitOk : ExitFailure;
}
