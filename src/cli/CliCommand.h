#pragma once
// The small command dispatcher of vellumark-skin: every subcommand is one entry
// of Commands(), implemented in a file of its own (RenderCommand.cpp,
// SheetCommand.cpp, CheckCommand.cpp), plus the helpers they share.
#include "PreviewRenderer.h"
#include "SkinDocument.h"

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
inline constexpr int ExitUsage = 2;   // wrong usage: the reason and the usage on stderr

// Everything a command gets from main.
struct CommandContext {
    int& argc;          // for QGuiApplication, which keeps a reference
    char** argv;
    QStringList args;   // the arguments after the command's name
};

struct Command {
    const char* name;
    const char* synopsis; // the command's usage lines, without "Usage: ", continuation
                          // lines indented to follow it
    const char* help;     // description and options, printed under the synopsis
    int (*run)(CommandContext& context);
};

// All commands, in the order the usage lists them.
const std::vector<Command>& Commands();

// The full usage text: the synopsis of every command, then their help.
QString UsageText();

// Thrown by a command's argument parsing: main prints the reason and the usage
// and exits with ExitUsage.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string& reason) : std::runtime_error(reason) {}
};

// ---- Arguments --------------------------------------------------------------

// One option of a command: its names ("-o", "--output"), whether it takes a value,
// and what to do with it (may throw UsageError for a bad value).
struct CommandOption {
    QStringList names;
    bool takesValue;
    std::function<void(const QString& name, const QString& value)> apply;
};

// Whether --help or -h stands anywhere in a command's args: main then prints the
// usage instead of running the command.
bool HelpRequested(const QStringList& args);

// Applies the options of args ("--name value", "--name=value", "-o value"; "--"
// ends the options, a lone "-" is positional) and returns the positional
// arguments. Throws UsageError for unknown options and missing values.
QStringList ParseOptions(const QStringList& args, const std::vector<CommandOption>& options);

// The one non-empty SKIN_DIR among positional. Throws UsageError.
QString SkinDirArgument(const QStringList& positional, const char* command);

// 'text', as usage messages quote what the user typed.
std::string Quoted(const QString& text);

// The names of the play states (index 0 to 4) and repetition modes (index 0, 1),
// as options and sheet labels spell them.
inline constexpr std::array<const char*, 5> PlayStateNames = {"backward", "play", "pause", "stop", "forward"};
inline constexpr std::array<const char*, 2> RepeatNames = {"one", "all"};

// A volume level written as one digit, 0 to 9; none for anything else.
std::optional<int> VolumeLevel(const QString& value);

// What render and sheet share: the skin, the PNG to write and the two assets.
struct PreviewJob {
    QString skinDir;
    QString output;
    QString texts;   // empty: the asset beside the executable
    QString overlay; // empty: the asset beside the executable
};

// The options -o/--output, --texts and --overlay, filling job.
std::vector<CommandOption> PreviewJobOptions(PreviewJob& job);

// Takes SKIN_DIR from positional and requires -o. Throws UsageError.
void CompletePreviewJob(PreviewJob& job, const QStringList& positional, const char* command);

// ---- Running ----------------------------------------------------------------

// Runs work with a QGuiApplication on Qt's offscreen platform (fonts and painting
// need one); an error is printed as the error box shows it and gives ExitFailure.
int RunDrawing(CommandContext& context, const std::function<void()>& work);

// The folder of the running executable with every symbolic link resolved, so a
// link to the program elsewhere still finds the assets beside the real file.
QString ExecutableFolder();

// Path of an asset beside the executable, e.g. AssetPath("LangRuvex.txt") is
// <executable folder>/Files/LangRuvex.txt.
QString AssetPath(const QString& fileName);

// As the editor opens a skin: the two assets first, then LoadSkin of the skin's
// description file, read in place. Throws SkinError.
SkinDocument LoadPreviewDocument(const PreviewJob& job);

// Writes the PNG whole or not at all. Throws "Cannot create file ...".
void WritePng(const QImage& image, const QString& path);

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

// The commands.
int RunRender(CommandContext& context);
int RunSheet(CommandContext& context);
int RunCheck(CommandContext& context);
