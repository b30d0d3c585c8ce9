// vellumark-skin: the editor's skin operations without a window.
// vellumark-skin COMMAND ARGS...; see CommandLine.cpp for the commands.
#include "CliCommand.h"
#include "FilePaths.h"

#include <csignal>

int main(int argc, char** argv)
{
    // A write past a file-size limit then fails with "File too large" like any other
    // failed write, instead of killing the program without a word.
    std::signal(SIGXFSZ, SIG_IGN);

    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.push_back(FileNameFromBytes(argv[i])); // a folder name need not be valid UTF-8

    return RunCommandLine(argc, argv, args);
}
