#include "CommitRecord.h"

#include "ChildProcess.h"
#include "FilePaths.h"
#include "SkinError.h"
#include "SkinWorkspace.h"
#include "TestSkin.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <fcntl.h>
#include <map>
#include <memory>
#include <pwd.h>
#include <string>
#include <sys/file.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

const std::string OldBytes = "old picture bytes";
const std::string NewBytes = std::string(3000, 'n') + "new picture";

void Write(const QString& path, const std::string& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes.data(), static_cast<qint64>(bytes.size())), static_cast<qint64>(bytes.size()));
}

QStringList Entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// Every entry of a folder: a link by where it points, a file by its bytes.
std::map<QString, std::string> Contents(const QString& folder)
{
    std::map<QString, std::string> contents;
    for (const QString& name : Entries(folder)) {
        const QFileInfo info(folder + "/" + name);
        contents[name] = info.isSymLink() ? "-> " + info.symLinkTarget().toStdString()
                         : info.isDir()   ? std::string("<folder>")
                                          : FileBytes(info.filePath());
    }
    return contents;
}

// Two files committed together, stopped after the first rename: the second target
// was a folder then, and is removed again, so the record can be finished.
void CommitStoppedHalfWay(const QString& folder)
{
    Write(folder + "/0.gif", OldBytes);
    Write(folder + "/1.gif", OldBytes);
    std::vector<ReplacementFile> files;
    for (const char* name : {"/0.gif", "/1.gif"}) {
        files.emplace_back(folder + name);
        files.back().Write(NewBytes);
    }
    ASSERT_TRUE(QFile::remove(folder + "/1.gif"));
    ASSERT_TRUE(QDir(folder).mkdir("1.gif"));
    EXPECT_THROW(CommitTogether(folder, files, FolderWriteLock({folder})), SkinError);
    files.clear();
    ASSERT_TRUE(QDir(folder).rmdir("1.gif"));
    ASSERT_TRUE(QFileInfo::exists(folder + "/" + CommitRecordName));
}

} // namespace

// A record names its files by bare names, so it is finished wherever the folder was
// moved; a new file that is gone is told, not taken as renamed.
TEST(CommitRecord, IsFinishedWhereverItsFolderWentAndAMissingNewFileIsTold)
{
    QTemporaryDir root;
    const QString before = root.filePath("before"), after = root.filePath("after");
    ASSERT_TRUE(QDir().mkdir(before));
    CommitStoppedHalfWay(before);
    ASSERT_TRUE(QDir().rename(before, after));
    EXPECT_TRUE(FinishInterruptedCommit(after, FolderWriteLock({after})).empty());
    EXPECT_EQ(FileBytes(after + "/0.gif"), NewBytes);
    EXPECT_EQ(FileBytes(after + "/1.gif"), NewBytes);
    EXPECT_EQ(Entries(after), QStringList({"0.gif", "1.gif"}));

    CommitStoppedHalfWay(after);
    for (const QString& name : Entries(after)) {
        if (name.startsWith(".1.gif.vellumark-")) {
            ASSERT_TRUE(QFile::remove(after + "/" + name));
        }
    }
    const auto notices = FinishInterruptedCommit(after, FolderWriteLock({after}));
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find("cannot be finished: the new 1.gif is missing"), std::string::npos) << notices[0];
    EXPECT_EQ(Entries(after), QStringList({".vellumark-commit.set-aside", "0.gif"})); // 1.gif: the kill's gap
}

// Records and notes planted by someone else, naming files outside their folder, links
// out of it, a folder, or written by another user, change nothing outside; each is
// set aside and told once, and the Save as they stood in the way of goes on.
TEST(CommitRecord, PlantedRecordsAndNotesTouchNothingOutsideTheirFolder)
{
    QTemporaryDir exe, outsideDir;
    TestSkin skin;
    skin.WriteComplete();
    const QString outside = outsideDir.path(), destination = skin.Dir() + "/dest";
    ASSERT_TRUE(QDir().mkdir(destination));
    Write(outside + "/victim.txt", "the victim's own words");
    Write(outside + "/.victim.txt.vellumark-AbC123", "PLANTED");
    Write(outside + "/.0.gif.vellumark-AbC123", "PLANTED");
    ASSERT_EQ(::symlink("victim.txt", QFile::encodeName(outside + "/link").constData()), 0);
    const auto outsideBefore = Contents(outside);
    const auto hex = [](const QString& path) { return QFile::encodeName(path).toHex().toStdString(); };
    const std::string planted = outside.toStdString() + "/.victim.txt.vellumark-AbC123";

    SkinDocument document;
    auto workspace = std::make_unique<SkinWorkspace>(document, [&] { return exe.path() + "/"; });
    workspace->Open(skin.DescriptionPath());
    const std::vector<std::pair<std::string, std::string>> plants = {
        {"full paths outside", "vellumark commit 1\n" + hex(QString::fromStdString(planted)) + " "
                                   + hex(outside + "/victim.txt") + "\nend\n"},
        {"a path that climbs out", "vellumark commit 2\n.x.vellumark-AbC123 ../"
                                       + outside.section('/', -1).toStdString() + "/victim.txt 1 -\nend\n"},
        {"a folder as target", "vellumark commit 2\n.sub.vellumark-AbC123 sub 1 -\nend\n"},
        {"a temporary that is a link out", "vellumark commit 2\n.1.gif.vellumark-AbC123 1.gif 7 -\nend\n"},
    };
    for (const auto& [what, record] : plants) {
        SCOPED_TRACE(what);
        QDir(destination).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(destination + "/sub"));
        Write(destination + "/.sub.vellumark-AbC123", "PLANTED");
        for (const char* name : {"/0.gif", "/.1.gif.vellumark-AbC123"})
            ASSERT_EQ(::symlink(QFile::encodeName(outside + "/victim.txt").constData(),
                                QFile::encodeName(destination + name).constData()),
                      0);
        Write(destination + "/" + CommitRecordName, record);
        workspace->SaveAs(destination + "/Ruvex.rvk");
        const auto notices = workspace->TakeNotices();
        ASSERT_EQ(notices.size(), 1u);
        EXPECT_EQ(notices[0].rfind(DisplayPath(destination + "/.vellumark-commit")
                                       + " was not written by Vellumark's last Save as and was left alone",
                                   0),
                  0u)
            << notices[0];
        EXPECT_EQ(FileBytes(destination + "/" + SetAsideRecordName), record);
        EXPECT_EQ(FileBytes(destination + "/1.gif"), skin.ReadBytes("1.gif"));
        EXPECT_FALSE(QFileInfo(destination + "/0.gif").isSymLink());
        EXPECT_EQ(Contents(outside), outsideBefore);
    }

    // A note in the working folder naming the outside folder, planted by another user.
    const QString note = exe.path() + "/Temp/.vellumark-saving";
    Write(note, outside.toStdString());
    const passwd* nobody = ::getpwnam("nobody");
    ASSERT_NE(nobody, nullptr);
    ASSERT_EQ(::chown(QFile::encodeName(note).constData(), nobody->pw_uid, nobody->pw_gid), 0);
    workspace = std::make_unique<SkinWorkspace>(document, [&] { return exe.path() + "/"; }); // the next start
    workspace->RecoverAtStart();
    EXPECT_EQ(workspace->TakeNotices().size(), 1u);
    EXPECT_EQ(Contents(outside), outsideBefore);
}

// Whoever finishes or cleans a folder waits while another program writes it: the
// files that program has staged there stay until it is done.
TEST(CommitRecord, OpenWaitsWhileAnotherProgramWritesTheFolder)
{
    QTemporaryDir exe;
    TestSkin skin;
    skin.WriteComplete();
    const QString staged = skin.Path(".0.gif.vellumark-AbC123");
    Write(staged, NewBytes);
    const int held = ::open(QFile::encodeName(skin.Dir()).constData(), O_RDONLY | O_DIRECTORY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    std::atomic<bool> stagedWhileHeld{false};
    std::thread otherProgram([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        stagedWhileHeld = QFileInfo::exists(staged);
        ::close(held);
    });
    SkinDocument document;
    SkinWorkspace workspace(document, [&] { return exe.path() + "/"; });
    workspace.Open(skin.DescriptionPath());
    otherProgram.join();
    EXPECT_TRUE(stagedWhileHeld);
    EXPECT_TRUE(document.SkinLoaded);
}
