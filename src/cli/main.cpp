// vellumark-skin: the editor's skin operations without a window.
// vellumark-skin COMMAND ARGS...; see UsageText() for the commands.
#include "CliCommand.h"
#include "SkinError.h"
#include "TextFile.h"

#include <csignal>
#include <exception>

int main(int argc, char** argv)
{
    // A write past a file-size limit then fails with "File too large" like any other
    // failed write, instead of killing the program without a word.
    std::signal(SIGXFSZ, SIG_IGN);

    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.push_back(FileNameFromBytes(argv[i])); // a folder name need not be valid UTF-8

    if (args.isEmpty()) {
        PrintErr(QStringLiteral("vellumark-skin: no command given\n\n") + UsageText());
        return ExitUsage;
    }
    const QString name = args.front();
    if (name == QLatin1String("--help") || name == QLatin1String("-h") || name == QLatin1String("help")) {
        PrintOut(UsageText());
        return ExitOk;
    }

    for (const Command& command : Commands()) {
        if (name != QLatin1String(command.name))
            continue;
        CommandContext context{argc, argv, args.mid(1)};
        if (HelpRequested(context.args)) {
            PrintOut(UsageText());
            return ExitOk;
        }
        try {
            return command.run(context);
        } catch (const UsageError& e) {
            PrintErr(QStringLiteral("vellumark-skin: ") + QString::fromLocal8Bit(e.what())
                     + QStringLiteral("\n\n") + UsageText());
            return ExitUsage;
        } catch (const std::exception& e) {
            PrintErrBytes(ErrorBoxText(e.what()) + "\n");
            return ExitFailure;
        }
    }
    PrintErr(QStringLiteral("vellumark-skin: unknown command '") + name + QStringLiteral("'\n\n") + UsageText());
    return ExitUsage;
}
