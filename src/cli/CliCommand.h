#pragma once
// The small command dispatcher of vellumark-skin: every subcommand is one entry
// of Commands(), implemented in a file of its own (RenderCommand.cpp,
// SheetCommand.cpp, CheckCommand.cpp, ImportCommand.cpp, ColorsCommand.cpp, DiffCommand.cpp), plus the helpers they share. Each command
// has a QCommandLineParser of its own, built from the options it declares, and
// the parser makes its help from the same declarations.
#include "PreviewRenderer.h"
#include "SkinDocument.h"
#include "PngFile.h"
#include "StatesSheet.h" // RepeatNames, MaxScale, ScaledImage

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QImage>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// Exit codes of every command.
inline constexpr int ExitOk = 0;
inline constexpr int ExitFailure = 1; // an error of the skin or a file (message on stderr), or problems found by check
inline constexpr int ExitUsage = 2;   // wrong usage: the reason and where to find help on stderr

// Everything a command gets from main.
struct CommandContext {
    int& argc;                         // for QGuiApplication, which keeps a reference
    char** argv;
    const QCommandLineParser& parser;  // holds the command's options, parsed
    QStringList positional;            // the arguments that are not options
};

struct Command {
    const char* name;
    const char* summary;             // one line for the list of commands
    QString (*description)();        // what it does, printed above its options
    std::vector<QCommandLineOption> (*options)();
    int (*run)(CommandContext& context);
    const char* operand = "SKIN_DIR"; // what the positional arguments name
    const char* operandNote = nullptr; // the help's words for them; none: SKIN_DIR's
    QString (*exitStatus)() = nullptr; // the help's note on exit status; none: every command's
};

// All commands, in the order the help lists them.
const std::vector<Command>& Commands();

// Parses args (everything after the program's name), runs the command they name
// and returns the exit status. Usage errors, help and version end here too.
int RunCommandLine(int& argc, char** argv, const QStringList& args);

// Thrown by a command's argument handling: one line on stderr, a pointer to
// --help, and ExitUsage.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string& reason) : std::runtime_error(reason) {}
};

// ---- Arguments --------------------------------------------------------------

// The one non-empty SKIN_DIR among positional. Throws UsageError.
QString SkinDirArgument(const QStringList& positional, const char* command);

// The skin folder SKIN_DIR names: the folder itself, or the folder of its
// Ruvex.rvk. Throws SkinError "No such folder ..." when there is nothing there.
QString SkinFolder(const QString& skinDir);

// 'text', as usage messages quote what the user typed.
std::string Quoted(const QString& text);

// A volume level written as one digit, 0 to 9; none for anything else.
std::optional<int> VolumeLevel(const QString& value);

// What render and sheet share: the skin, the PNG to write, its scale and the two assets.
struct PreviewJob {
    QString skinDir;
    QString output;
    int scale = 1;   // each pixel drawn as a scale x scale block
    QString texts;   // empty: the asset beside the executable; "long", "short": built in
    QString overlay; // empty: the asset beside the executable
};

// The options -o/--output, --scale, --texts and --overlay.
std::vector<QCommandLineOption> PreviewJobOptions();

// The job the parsed options and positional arguments describe. Throws UsageError.
PreviewJob ReadPreviewJob(const CommandContext& context, const char* command);
// -o and --scale into job; without -o, an error only when required. Throws UsageError.
void ReadOutputOptions(const QCommandLineParser& parser, const char* command, bool required, PreviewJob& job);
// The volume of the ten looks: --volume N|off, shown at level 5 by default.
PreviewSettings SheetVolume(const QCommandLineParser& parser);
QCommandLineOption SheetVolumeOption();

// ---- Sample texts (SampleTextsOption.cpp) -------------------------------------

struct SkinProblem;

// --texts FILE|long|short, for every command.
QCommandLineOption SampleTextsOption();

// The texts --texts value names: a built-in set, the file, or, when value is empty,
// Files/LangRuvex.txt beside the executable. Throws SkinError when the file cannot be read.
TextLines ReadSampleTexts(const QString& value);

// Where texts do not fit on the skin whose description file holds description,
// drawn as the editor draws it (texts are placed by the description file alone);
// none when its lines cannot be parsed (its problems say why). Needs a QGuiApplication.
std::vector<SkinProblem> SampleTextWarnings(const std::string& description, const TextLines& texts);

// ---- Running ----------------------------------------------------------------

// Runs work with a QGuiApplication on Qt's offscreen platform (fonts and painting
// need one); an error is printed as the error box shows it and gives ExitFailure.
int RunDrawing(CommandContext& context, const std::function<void()>& work);

// As the editor opens a skin: the overlay and the texts (--overlay, --texts) first,
// then LoadSkin of the skin's description file, read in place. Throws SkinError at
// the first failure; a parse that stops at a key
// without a line says which key, after the editor's own message.
SkinDocument LoadPreviewDocument(const PreviewJob& job);

// Selects Qt's offscreen platform unless QT_QPA_PLATFORM is set, so a command
// that draws needs no display server (nor a working one), and keeps Qt's harmless
// start-up notes ("XDG_RUNTIME_DIR not set") off stderr. Call before creating
// QGuiApplication.
void UseOffscreenPlatformUnlessSet();

// Writes text to stdout or stderr as UTF-8 (paths are shown as the system gives them).
void PrintOut(const QString& text);
void PrintErr(const QString& text);
// Writes 8-bit text (an error message, a skin's own words) unchanged.
void PrintOutBytes(const std::string& bytes);
void PrintErrBytes(const std::string& bytes);

// message ending in one full stop: every message of vellumark-skin, usage errors
// included, is one sentence (the error box's rule leaves "... (1 to 8)" open).
std::string Sentence(const std::string& message);

// "vellumark-skin: " and the message as a Sentence, on stderr.
void PrintRuntimeError(const std::string& message);

// The commands.
int RunRender(CommandContext& context);
int RunSheet(CommandContext& context);
int RunCheck(CommandContext& context);
int RunImport(CommandContext& context);
int RunColors(CommandContext& context);
int RunRecolor(CommandContext& context);
int RunDiff(CommandContext& context);
std::vector<QCommandLineOption> RenderOptions();
std::vector<QCommandLineOption> SheetOptions();
std::vector<QCommandLineOption> CheckOptions();
std::vector<QCommandLineOption> ImportOptions();
std::vector<QCommandLineOption> ColorsOptions();
std::vector<QCommandLineOption> RecolorOptions();
std::vector<QCommandLineOption> DiffOptions();
