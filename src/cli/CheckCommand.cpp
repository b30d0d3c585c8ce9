// vellumark-skin check: prints every problem of a skin folder, one line each, and
// says by its exit status whether there was any. Reads the skin in place; draws
// nothing, so it needs no QGuiApplication.
#include "CliCommand.h"

#include "SkinChecker.h"
#include "SkinError.h"

int RunCheck(CommandContext& context)
{
    bool quiet = false;
    const std::vector<CommandOption> accepted = {
        {{QStringLiteral("-q"), QStringLiteral("--quiet")}, false, [&](const QString&, const QString&) { quiet = true; }},
    };
    const QString skinDir = SkinDirArgument(ParseOptions(context.args, accepted), "check"); // UsageError goes to main

    std::vector<SkinProblem> problems;
    try {
        problems = CheckSkinFolder(skinDir);
    } catch (const SkinError& e) {
        if (!quiet)
            PrintErrBytes(ErrorBoxText(e.what()) + "\n");
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
