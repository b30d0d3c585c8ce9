// vellumark-skin's command line: the commands and the parsing of
// COMMAND [OPTIONS] SKIN_DIR with one QCommandLineParser per command, whose help
// the parser writes itself.
#include "CliCommand.h"

#include "SkinError.h"
#include "SkinFormat.h"

#include <QCoreApplication>

#include <exception>

namespace {

QString ScreenSize()
{
    return QString::number(ScreenWidth) + QLatin1Char('x') + QString::number(ScreenHeight);
}

QString RenderDescription()
{
    return QStringLiteral("Draws the preview of the skin in SKIN_DIR (%1 and 0.gif to 14.gif, read\n"
                          "in place) as a %2 PNG, with the editor's renderer and font.")
        .arg(QString::fromLatin1(DescriptionFileName), ScreenSize());
}

QString SheetDescription()
{
    return QStringLiteral("Draws the ten previews of the skin in SKIN_DIR into one PNG: the five play states\n"
                          "side by side, repetition one above all, each labelled under it, with the volume\n"
                          "bar shown.");
}

QString CheckDescription()
{
    return QStringLiteral("Reads the skin in SKIN_DIR in place and prints one line per problem, in file\n"
                          "order: \"%1:LINE: ...\" or \"N.gif: ...\"; then one line per warning\n"
                          "(\"%1:LINE: warning: ...\"), where a sample text runs past the screen's edge\n"
                          "or over another text. Exit status 0 when there is no problem, 1 when there is at\n"
                          "least one; warnings count only with --strict.")
        .arg(QString::fromLatin1(DescriptionFileName));
}

QString ImportDescription()
{
    return QStringLiteral("Makes the picture in PICTURE (PNG, BMP, JPEG or any other kind Qt reads here) into a\n"
                          "skin's GIF, as the editor's Replace from file does: alpha below 128 becomes one\n"
                          "transparent colour of its own, up to 255 colours (256 without transparency) are\n"
                          "kept exactly, more are reduced. Prints one line: the colours before and after,\n"
                          "the largest and mean colour error in OKLab, and the transparent pixels.");
}

QString ColorsDescription()
{
    return QStringLiteral("Prints the colours the skin in SKIN_DIR uses, most used first, one line each:\n"
                          "#RRGGBB, where it is used (elements; pictures with their pixels) and its pixels in\n"
                          "the pictures, separated by tabs. The texts' first colours, the rectangles' colours\n"
                          "and the colours the pictures' pixels show count; the transparent one does not.");
}

QString RecolorDescription()
{
    return QStringLiteral("Writes the skin in SKIN_DIR recoloured into OUT_DIR, all files or none, and never\n"
                          "touches SKIN_DIR. Hue, chroma and lightness change in OKLCh; a colour that sRGB\n"
                          "cannot show then loses chroma until it fits, and is named in the report. Greys,\n"
                          "black and white stay unless --neutrals. Only the RRGGBB digits of the description\n"
                          "and the colour tables of the GIFs change.");
}

QString DiffDescription()
{
    return QStringLiteral("Compares the skins in SKIN_A and SKIN_B, read in place, and prints one line per\n"
                          "difference: an element's field (\"Artist: X 88 \u2192 101\"), a line of one skin only,\n"
                          "a picture (\"12.gif: 96 pixels changed\", \"3.gif: palette only (4 entries)\"), and\n"
                          "each of the ten looks that draws differently, pixel for pixel. Line ends are not\n"
                          "part of a line.");
}

QString DiffExitStatus()
{
    return QStringLiteral("Exit status: 0 the same, 1 different, 2 wrong usage or a skin that cannot be read\n"
                          "(message on stderr).");
}

QString SkinDirNote()
{
    return QStringLiteral("the skin's folder or its %1").arg(QString::fromLatin1(DescriptionFileName));
}

QString ExitStatusNote()
{
    return QStringLiteral("Exit status: 0 done, 1 error (message on stderr, nothing written) or problems\n"
                          "found by check, 2 wrong usage.");
}

QCommandLineOption HelpOption()
{
    return QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("this help"));
}

// The parser's help names the program by the application's first argument, so it
// is shown with one naming "vellumark-skin" or "vellumark-skin COMMAND".
void PrintHelp(const QCommandLineParser& parser, const QString& program)
{
    QByteArray name = program.toUtf8();
    int argc = 1;
    char* argv[] = {name.data(), nullptr};
    const QCoreApplication naming(argc, argv);
    PrintOut(parser.helpText());
}

// A usage error of our own: a sentence, names in double quotes, a full stop.
int UsageFailure(const QString& reason)
{
    PrintErr(QStringLiteral("vellumark-skin: ") + QString::fromLocal8Bit(Sentence(reason.toLocal8Bit().toStdString()))
             + QStringLiteral("\nTry 'vellumark-skin --help'.\n"));
    return ExitUsage;
}

// A line the parser refused, in the parser's own words.
int ParseFailure(const QCommandLineParser& parser)
{
    PrintErr(QStringLiteral("vellumark-skin: ") + parser.errorText() + QStringLiteral("\nTry 'vellumark-skin --help'.\n"));
    return ExitUsage;
}

void DeclareCommand(QCommandLineParser& parser, const Command& command)
{
    parser.setApplicationDescription(command.description() + QStringLiteral("\n\n")
                                     + (command.exitStatus != nullptr ? command.exitStatus() : ExitStatusNote()));
    parser.addOption(HelpOption());
    for (const QCommandLineOption& option : command.options())
        parser.addOption(option);
    const QString operand = QString::fromLatin1(command.operand);
    parser.addPositionalArgument(operand, command.operandNote != nullptr ? QString::fromLatin1(command.operandNote)
                                          : operand == QLatin1String("SKIN_DIR") ? SkinDirNote()
                                                                                 : QStringLiteral("the picture to convert"));
}

QString ProgramName(const Command& command)
{
    return QStringLiteral("vellumark-skin ") + QString::fromLatin1(command.name);
}

int RunCommand(const Command& command, int& argc, char** argv, const QStringList& args)
{
    QCommandLineParser parser;
    DeclareCommand(parser, command);
    // parse() takes the program's name first; the command's name stands in for it.
    const bool parsed = parser.parse(QStringList{QString::fromLatin1(command.name)} + args);
    if (parser.isSet(QStringLiteral("help"))) { // help wins over everything else on the line
        PrintHelp(parser, ProgramName(command));
        return ExitOk;
    }
    if (!parsed)
        return ParseFailure(parser);

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
        {"render", "draws the preview of a skin as a PNG", RenderDescription, RenderOptions, RunRender},
        {"sheet", "draws the ten previews of a skin into one PNG", SheetDescription, SheetOptions, RunSheet},
        {"check", "prints the problems of a skin", CheckDescription, CheckOptions, RunCheck},
        {"import", "makes a picture of any kind into a skin's GIF", ImportDescription, ImportOptions, RunImport,
         "PICTURE"},
        {"colours", "prints the colours a skin uses and where", ColorsDescription, ColorsOptions, RunColors},
        {"recolour", "writes a skin recoloured into another folder", RecolorDescription, RecolorOptions,
         RunRecolor},
        {"diff", "prints what differs between two skins", DiffDescription, DiffOptions, RunDiff, "SKIN_A SKIN_B",
         "the two skins' folders or their Ruvex.rvk", DiffExitStatus},
    };
    return commands;
}

int RunCommandLine(int& argc, char** argv, const QStringList& args)
{
    // Options before the command: --help and --version; the command and all
    // that follows it go to the command's own parser.
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    QString commands;
    for (const Command& command : Commands())
        commands += QStringLiteral("\n  %1  %2").arg(QString::fromLatin1(command.name).leftJustified(8),
                                                    QString::fromLatin1(command.summary));
    parser.setApplicationDescription(
        QStringLiteral("Draws, checks and makes pictures for the skins of a music player for phones with a %1 display,\n"
                       "without a window.\n\nCommands:%2\n\n"
                       "'vellumark-skin COMMAND --help' or 'vellumark-skin help COMMAND' shows a command's\n"
                       "options.\n\n%3")
            .arg(ScreenSize(), commands, ExitStatusNote()));
    const QCommandLineOption versionOption(QStringLiteral("version"), QStringLiteral("the version"));
    parser.addOption(HelpOption());
    parser.addOption(versionOption);
    parser.addPositionalArgument(QStringLiteral("COMMAND"), QStringLiteral("render, sheet, check, import, colours, recolour or diff"),
                                 QStringLiteral("COMMAND [ARGS...]"));
    const bool parsed = parser.parse(QStringList{QStringLiteral("vellumark-skin")} + args);
    if (parsed && parser.isSet(QStringLiteral("help"))) {
        PrintHelp(parser, QStringLiteral("vellumark-skin"));
        return ExitOk;
    }
    if (parsed && parser.isSet(versionOption)) {
        PrintOut(QStringLiteral("vellumark-skin " VELLUMARK_VERSION "\n"));
        return ExitOk;
    }
    if (!parsed)
        return ParseFailure(parser);

    QStringList rest = parser.positionalArguments();
    if (rest.isEmpty())
        return UsageFailure(QStringLiteral("No command given"));
    const QString name = rest.takeFirst();
    if (name == QLatin1String("help")) { // "help" or "help COMMAND"
        if (rest.isEmpty()) {
            PrintHelp(parser, QStringLiteral("vellumark-skin"));
            return ExitOk;
        }
        const Command* command = FindCommand(rest.front());
        if (command == nullptr || rest.size() > 1)
            return UsageFailure(QStringLiteral("Unknown command \"") + rest.join(QLatin1Char(' ')) + QStringLiteral("\" after help"));
        QCommandLineParser commandParser;
        DeclareCommand(commandParser, *command);
        PrintHelp(commandParser, ProgramName(*command));
        return ExitOk;
    }
    const Command* command = FindCommand(name);
    if (command == nullptr)
        return UsageFailure(QStringLiteral("Unknown command \"") + name + QLatin1Char('"'));
    return RunCommand(*command, argc, argv, rest);
}
