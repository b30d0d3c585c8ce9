// vellumark-skin check: prints every problem of a skin folder, one line each, and
// says by its exit status whether there was any. Reads the skin in place; draws
// nothing, so it needs no QGuiApplication.
#include "CliCommand.h"

#include "SkinFolderCheck.h"
#include "SkinError.h"

std::vector<QCommandLineOption> CheckOptions()
{
    return {QCommandLineOption({QStringLiteral("q"), QStringLiteral("quiet")},
                               QStringLiteral("print nothing, only set the exit status"))};
}

int RunCheck(CommandContext& context)
{
    const bool quiet = context.parser.isSet(QStringLiteral("quiet"));
    const QString skinDir = SkinDirArgument(context.positional, "check"); // UsageError goes to main

    std::vector<SkinProblem> problems;
    try {
        problems = CheckSkinFolder(SkinFolder(skinDir));
    } catch (const SkinError& e) {
        if (!quiet)
            PrintRuntimeError(e.what());
        return ExitFailure;
    }
    if (!quiet) {
        std::string report;
        for (const SkinProblem& problem : problems)
            report += ProblemLine(problem) + "\n";
        PrintOutBytes(report);
    }
    return problems.empty() ? ExitOk : ExitFailure;
}
