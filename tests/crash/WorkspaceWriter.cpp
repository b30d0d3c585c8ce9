// The writer that scripts/crash-test.sh kills at random moments: it keeps a
// workspace busy with Open, Autosave, Save as and Replace picture, switching the
// working copy and a Save-as folder between two skins, so that every file there is
// always either skin A's or skin B's version of it.
//   workspace-writer run EXE_FOLDER SKIN_A SKIN_B DESTINATION   (loops until killed)
//   workspace-writer take EXE_FOLDER                (the next start: takes the working
//                                                   folder and finishes what was left)
//   workspace-writer cycle EXE_FOLDER SKIN_A SKIN_B DESTINATION
//       Open A and Save as, then, armed for the rename-counting kill that the crash
//       test preloads, Open B and Save as once.
//   workspace-writer saves EXE_FOLDER SKIN_A SKIN_B DESTINATION ROUNDS
//       Open A and Save as, then B, ROUNDS times: a program saving into a folder
//       that another one opens meanwhile.
//   workspace-writer reopen EXE_FOLDER SKIN     Open SKIN, then Save as into it
//   workspace-writer open EXE_FOLDER SKIN       Open SKIN
#include "PictureContent.h"
#include "SkinError.h"
#include "TextFile.h"
#include "SkinWorkspace.h"

#include <QString>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: workspace-writer run|cycle EXE_FOLDER SKIN_A SKIN_B DESTINATION\n"
                             "       workspace-writer take EXE_FOLDER\n"
                             "       workspace-writer saves EXE_FOLDER SKIN_A SKIN_B DESTINATION ROUNDS\n"
                             "       workspace-writer open|reopen EXE_FOLDER SKIN\n");
        return 2;
    }
    std::signal(SIGXFSZ, SIG_IGN); // as the programs do: a file-size limit is one more failed write
    const QString exeFolder = QString::fromLocal8Bit(argv[2]);
    SkinDocument document;
    SkinWorkspace workspace(document, [&] { return exeFolder; });
    const auto description = [](const char* folder) { return QString::fromLocal8Bit(folder) + "/Ruvex.rvk"; };
    // In the crash test every write is the program's own: nothing is to be set aside.
    const auto told = [&] {
        const auto notices = workspace.TakeNotices();
        for (const std::string& notice : notices)
            std::fprintf(stderr, "%s\n", notice.c_str());
        return notices.empty() ? 0 : 1;
    };
    try {
        if (std::strcmp(argv[1], "take") == 0) {
            workspace.RecoverAtStart();
            if (workspace.LockedFolder().isEmpty()) {
                std::fprintf(stderr, "the working folder was not taken\n");
                return 1;
            }
            std::puts("taken");
            return told();
        }
        if (argc == 4 && (std::strcmp(argv[1], "open") == 0 || std::strcmp(argv[1], "reopen") == 0)) {
            workspace.Open(description(argv[3]));
            if (argv[1][0] == 'r')
                workspace.SaveAs(description(argv[3]));
            return told();
        }
        if (argc == 7 && std::strcmp(argv[1], "saves") == 0) {
            const long rounds = std::atol(argv[6]);
            for (long round = 0; round < 2 * rounds; ++round) {
                workspace.Open(description(argv[3 + round % 2]));
                workspace.SaveAs(description(argv[5]));
            }
            return 0;
        }
        if (argc != 6)
            return 2;
        if (std::strcmp(argv[1], "cycle") == 0) {
            const QString destination = description(argv[5]);
            workspace.Open(description(argv[3]));
            workspace.SaveAs(destination);
            ::setenv("VELLUMARK_KILL_ARMED", "1", 1);
            workspace.Open(description(argv[4]));
            workspace.SaveAs(destination);
            std::puts("done");
            return 0;
        }
        if (std::strcmp(argv[1], "run") != 0)
            return 2;
        const char* skins[2] = {argv[3], argv[4]};
        const QString destination = description(argv[5]);
        for (unsigned round = 0;; ++round) {
            const char* skin = skins[round % 2];
            const char* other = skins[(round + 1) % 2];
            workspace.Open(description(skin));
            workspace.Autosave();
            workspace.SaveAs(destination);
            // The other skin's picture 3 in this skin's working copy: each file is
            // still one skin's version of it.
            PutPictureContent(workspace.PictureFile(3),
                              PictureContent::Of(ReadFileBytes(QString::fromLocal8Bit(other) + "/3.gif", MaxPictureFileBytes)));
            workspace.SaveAs(destination);
        }
    } catch (const SkinError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}
