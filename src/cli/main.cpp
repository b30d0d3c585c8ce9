// vellumark-skin: the editor's skin operations without a window.
// vellumark-skin COMMAND ARGS...; see CommandLine.cpp for the commands.
#include "CliCommand.h"

int main(int argc, char** argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.push_back(QString::fromLocal8Bit(argv[i]));

    return RunCommandLine(argc, argv, args);
}
