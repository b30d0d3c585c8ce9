#pragma once
// The small command dispatcher of vellumark-skin: every subcommand is one entry
// of Commands(), implemented in a file of its own (RenderCommand.cpp, later
// SheetCommand.cpp, CheckCommand.cpp), plus the helpers they share.
#include <QString>
#include <QStringList>

#include <stdexcept>
#include <string>
#include <vector>

// Exit codes of every command.
inline constexpr int ExitOk = 0;
inline constexpr int ExitFailure = 1; // an error of the skin or a file: message on stderr
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

// The text the editor's error box shows for an error message: the message, with a
// full stop appended when its last character sorts after ".".
std::string ErrorBoxText(const std::string& message);

// The folder of the running executable with every symbolic link resolved, so a
// link to the program elsewhere still finds the assets beside the real file.
QString ExecutableFolder();

// Path of an asset beside the executable, e.g. AssetPath("LangRuvex.txt") is
// <executable folder>/Files/LangRuvex.txt.
QString AssetPath(const QString& fileName);

// Selects Qt's offscreen platform unless QT_QPA_PLATFORM is set, so a command
// that draws needs no display server (nor a working one), and keeps Qt's harmless
// start-up notes ("XDG_RUNTIME_DIR not set") off stderr. Call before creating
// QGuiApplication.
void UseOffscreenPlatformUnlessSet();

// Writes text to stdout or stderr as UTF-8 (paths are shown as the system gives them).
void PrintOut(const QString& text);
void PrintErr(const QString& text);
// Writes 8-bit text (an error message) to stderr unchanged.
void PrintErrBytes(const std::string& bytes);

// The commands.
int RunRender(CommandContext& context);
