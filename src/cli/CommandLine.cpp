// vellumark-skin's command line: the commands, their help, and the parsing of
// COMMAND [OPTIONS] SKIN_DIR with one QCommandLineParser per command.
#include "CliCommand.h"

#include "SkinError.h"

#include <exception>

namespace {

// Continuation lines are indented for the "Usage: " column.
constexpr const char* RenderSynopsis =
    "vellumark-skin render SKIN_DIR -o OUT.png [--state backward|play|pause|stop|forward|none]\n"
    "                             [--repeat one|all] [--volume off|0..9] [--scale 1..8]\n"
    "                             [--texts FILE|long|short] [--overlay FILE]\n";

constexpr const char* RenderDescription =
    "render: draws the preview of the skin in SKIN_DIR (Ruvex.rvk and 0.gif to 14.gif,\n"
    "read in place) as a 176x220 PNG, with the editor's renderer and font.\n";

constexpr const char* SheetSynopsis =
    "vellumark-skin sheet SKIN_DIR -o OUT.png [--volume 0..9] [--scale 1..8]\n"
    "                            [--texts FILE|long|short] [--overlay FILE]\n";

constexpr const char* SheetDescription =
    "sheet: draws the ten previews of the skin in SKIN_DIR into one PNG: the five play\n"
    "states (backward, play, pause, stop, forward) side by side, repetition one above\n"
    "all, each labelled under it, with the volume bar shown.\n";

constexpr const char* CheckSynopsis = "vellumark-skin check SKIN_DIR [--texts FILE|long|short] [--strict] [--quiet]\n";

constexpr const char* CheckDescription =
    "check: reads the skin in SKIN_DIR in place and prints one line per problem, in file\n"
    "order: \"Ruvex.rvk:LINE: ...\" or \"N.gif: ...\"; then one line per warning\n"
    "(\"Ruvex.rvk:LINE: warning: ...\"), where a sample text runs past the screen's edge\n"
    "or over another text. Exit status 0 when there is no problem, 1 when there is at\n"
    "least one; warnings count only with --strict.\n";

constexpr const char* SkinDirNote = "SKIN_DIR is the skin's folder or its Ruvex.rvk.\n";

constexpr const char* ExitStatusNote =
    "Exit status: 0 done, 1 error (message on stderr, nothing written) or problems found\n"
    "by check, 2 wrong usage.\n";

constexpr const char* Version = "vellumark-skin " VELLUMARK_VERSION "\n";

constexpr qsizetype OptionColumn = 24; // where option descriptions begin

// "  -o, --output OUT.png  the PNG to write", wrapped lines indented to the column.
QString OptionsHelp(const std::vector<QCommandLineOption>& options)
{
    QString text;
    for (const QCommandLineOption& option : options) {
        QStringList names;
        for (const QString& name : option.names())
            names.push_back((name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name);
        QString left = QStringLiteral("  ") + names.join(QStringLiteral(", "));
        if (!option.valueName().isEmpty())
            left += QLatin1Char(' ') + option.valueName();
        const QString indent(OptionColumn, QLatin1Char(' '));
        text += left.size() < OptionColumn ? left.leftJustified(OptionColumn) : left + QLatin1Char('\n') + indent;
        text += option.description().replace(QLatin1Char('\n'), QLatin1Char('\n') + indent) + QLatin1Char('\n');
    }
    return text;
}

QString CommandHelp(const Command& command)
{
    return QStringLiteral("Usage: ") + QString::fromLatin1(command.synopsis) + QLatin1Char('\n')
           + QString::fromLatin1(command.description) + OptionsHelp(command.options())
           + QStringLiteral("  -h, --help            this help\n\n") + QString::fromLatin1(SkinDirNote)
           + QString::fromLatin1(ExitStatusNote);
}

// Every command's synopsis, then what each does with its options.
QString FullHelp()
{
    QString text;
    bool first = true;
    for (const Command& command : Commands()) {
        text += QString::fromLatin1(first ? "Usage: " : "       ") + QString::fromLatin1(command.synopsis);
        first = false;
    }
    text += QStringLiteral("       vellumark-skin COMMAND --help\n"
                           "       vellumark-skin --help | --version\n");
    for (const Command& command : Commands())
        text += QLatin1Char('\n') + QString::fromLatin1(command.description) + OptionsHelp(command.options());
    text += QLatin1Char('\n') + QString::fromLatin1(SkinDirNote) + QString::fromLatin1(ExitStatusNote);
    return text;
}

int UsageFailure(const QString& reason)
{
    // One style with the other errors: a sentence, names in double quotes, a full stop.
    const std::string text = Sentence(reason.toLocal8Bit().toStdString());
    PrintErr(QStringLiteral("vellumark-skin: ") + QString::fromLocal8Bit(text) + QStringLiteral("\nTry 'vellumark-skin --help'.\n"));
    return ExitUsage;
}

// The reason a parse failed: an unknown option as typed ("--colour", "-x"), an
// option without its value or with one it does not take; anything else in the
// parser's own words.
QString ParseFailure(const QCommandLineParser& parser)
{
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty()) {
        const QString& name = unknown.front();
        return QStringLiteral("Unknown option \"") + (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"))
               + name + QLatin1Char('"');
    }
    QString text = parser.errorText(); // "Missing value after '-o'."
    const qsizetype open = text.indexOf(QLatin1Char('\''));
    const qsizetype close = text.lastIndexOf(QLatin1Char('\''));
    if (open >= 0 && close > open) {
        const QString option = QLatin1Char('"') + text.mid(open + 1, close - open - 1) + QLatin1Char('"'); // "-o"
        if (text.startsWith(QLatin1String("Missing value after ")))
            return QStringLiteral("Option ") + option + QStringLiteral(" needs a value");
        if (text.startsWith(QLatin1String("Unexpected value after ")))
            return QStringLiteral("Option ") + option + QStringLiteral(" takes no value");
    }
    return text;
}

const QCommandLineOption HelpOption({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("this help"));

int RunCommand(const Command& command, int& argc, char** argv, const QStringList& args)
{
    QCommandLineParser parser;
    parser.addOption(HelpOption);
    for (const QCommandLineOption& option : command.options())
        parser.addOption(option);
    // parse() takes the program's name first; the command's name stands in for it.
    const bool parsed = parser.parse(QStringList{QString::fromLatin1(command.name)} + args);
    if (parser.isSet(HelpOption)) { // help wins over everything else on the line
        PrintOut(CommandHelp(command));
        return ExitOk;
    }
    if (!parsed)
        return UsageFailure(ParseFailure(parser));

    CommandContext context{argc, argv, parser, parser.positionalArguments()};
    try {
        return command.run(context);
    } catch (const UsageError& e) {
        return UsageFailure(QString::fromLocal8Bit(e.what()));
    } catch (const std::exception& e) {
        PrintRuntimeError(e.what());
        return ExitFailure;
    }
}

const Command* FindCommand(const QString& name)
{
    for (const Command& command : Commands())
        if (name == QLatin1String(command.name))
            return &command;
    return nullptr;
}

} // namespace

const std::vector<Command>& Commands()
{
    static const std::vector<Command> commands = {
        {"render", RenderSynopsis, RenderDescription, RenderOptions, RunRender},
        {"sheet", SheetSynopsis, SheetDescription, SheetOptions, RunSheet},
        {"check", CheckSynopsis, CheckDescription, CheckOptions, RunCheck},
    };
    return commands;
}

int RunCommandLine(int& argc, char** argv, const QStringList& args)
{
    // Options before the command: --help and --version; the command and all
    // that follows it go to the command's own parser.
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption versionOption(QStringLiteral("version"), QStringLiteral("the version"));
    parser.addOption(HelpOption);
    parser.addOption(versionOption);
    const bool parsed = parser.parse(QStringList{QStringLiteral("vellumark-skin")} + args);
    if (parsed && parser.isSet(HelpOption)) {
        PrintOut(FullHelp());
        return ExitOk;
    }
    if (parsed && parser.isSet(versionOption)) {
        PrintOut(QString::fromLatin1(Version));
        return ExitOk;
    }
    if (!parsed)
        return UsageFailure(ParseFailure(parser));

    QStringList rest = parser.positionalArguments();
    if (rest.isEmpty())
        return UsageFailure(QStringLiteral("No command given"));
    const QString name = rest.takeFirst();
    if (name == QLatin1String("help")) { // "help" or "help COMMAND"
        if (rest.isEmpty()) {
            PrintOut(FullHelp());
            return ExitOk;
        }
        const Command* command = FindCommand(rest.front());
        if (command == nullptr || rest.size() > 1)
            return UsageFailure(QStringLiteral("Unknown command \"") + rest.join(QLatin1Char(' ')) + QStringLiteral("\" after help"));
        PrintOut(CommandHelp(*command));
        return ExitOk;
    }
    const Command* command = FindCommand(name);
    if (command == nullptr)
        return UsageFailure(QStringLiteral("Unknown command \"") + name + QLatin1Char('"'));
    return RunCommand(*command, argc, argv, rest);
}
