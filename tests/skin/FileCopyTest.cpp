#include "FileCopy.h"

#include "ChildProcess.h"
#include "CommitRecord.h"
#include "SkinError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

class FileCopyTest : public ::testing::Test {
protected:
    QString Path(const QString& name) const { return dir_.filePath(name); }

    void Write(const QString& name, const std::string& bytes) const
    {
        QFile file(Path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes.data(), static_cast<qint64>(bytes.size())), static_cast<qint64>(bytes.size()));
    }

    std::string Read(const QString& name) const { return FileBytes(Path(name)); }

    // The names in the folder, hidden ones included (temporary files start with ".").
    QStringList Entries(const QString& folder = QString()) const
    {
        return QDir(folder.isEmpty() ? dir_.path() : folder)
            .entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    }

    static mode_t Mode(const QString& path)
    {
        struct stat info {};
        ::stat(QFile::encodeName(path).constData(), &info);
        return info.st_mode & 0777;
    }

    QTemporaryDir dir_;
};

const std::string OldBytes = "old picture bytes";
const std::string NewBytes = std::string(5000, 'n') + "new picture";

TEST_F(FileCopyTest, CopiesToANewTarget)
{
    Write("source.gif", NewBytes);
    EXPECT_TRUE(CopyFileReplacing(Path("source.gif"), Path("target.gif")));
    EXPECT_EQ(Read("target.gif"), NewBytes);
    EXPECT_EQ(Read("source.gif"), NewBytes);
    EXPECT_EQ(Entries(), (QStringList{"source.gif", "target.gif"}));
}

TEST_F(FileCopyTest, ReplacesAnExistingTarget)
{
    Write("source.gif", "short");
    Write("target.gif", NewBytes); // longer than the source: nothing of it may remain
    EXPECT_TRUE(CopyFileReplacing(Path("source.gif"), Path("target.gif")));
    EXPECT_EQ(Read("target.gif"), "short");
    EXPECT_EQ(Entries(), (QStringList{"source.gif", "target.gif"}));
}

TEST_F(FileCopyTest, CopiesAnEmptyFile)
{
    Write("source.gif", "");
    Write("target.gif", OldBytes);
    EXPECT_TRUE(CopyFileReplacing(Path("source.gif"), Path("target.gif")));
    EXPECT_EQ(Read("target.gif"), "");
}

TEST_F(FileCopyTest, MissingSourceLeavesTheTargetAsItWas)
{
    Write("target.gif", OldBytes);
    EXPECT_FALSE(CopyFileReplacing(Path("missing.gif"), Path("target.gif")));
    EXPECT_EQ(Read("target.gif"), OldBytes);
    EXPECT_FALSE(CopyFileReplacing(Path("missing.gif"), Path("new.gif")));
    EXPECT_FALSE(QFile::exists(Path("new.gif")));
    EXPECT_EQ(Entries(), QStringList{"target.gif"});
}

TEST_F(FileCopyTest, SourceThatIsAFolderIsRefused)
{
    ASSERT_TRUE(QDir(dir_.path()).mkdir("folder"));
    Write("target.gif", OldBytes);
    EXPECT_FALSE(CopyFileReplacing(Path("folder"), Path("target.gif")));
    EXPECT_EQ(Read("target.gif"), OldBytes);
    EXPECT_EQ(Entries(), QStringList{"target.gif"});
}

TEST_F(FileCopyTest, EmptyPathsAreRefused)
{
    Write("source.gif", NewBytes);
    EXPECT_FALSE(CopyFileReplacing(QString(), Path("target.gif")));
    EXPECT_FALSE(CopyFileReplacing(Path("source.gif"), QString()));
}

TEST_F(FileCopyTest, MissingTargetFolderFails)
{
    Write("source.gif", NewBytes);
    EXPECT_FALSE(CopyFileReplacing(Path("source.gif"), Path("no/such/folder/target.gif")));
    // A path through a regular file: a failure root cannot bypass.
    EXPECT_FALSE(CopyFileReplacing(Path("source.gif"), Path("source.gif/target.gif")));
    EXPECT_EQ(Entries(), QStringList{"source.gif"});
}

TEST_F(FileCopyTest, CopyOntoItselfChangesNothing)
{
    Write("same.gif", OldBytes);
    ::chmod(QFile::encodeName(Path("same.gif")).constData(), 0640);
    struct stat before {};
    ::stat(QFile::encodeName(Path("same.gif")).constData(), &before);

    EXPECT_TRUE(CopyFileReplacing(Path("same.gif"), Path("same.gif")));
    EXPECT_TRUE(CopyFileReplacing(Path("same.gif"), dir_.path() + "/./same.gif"));
    EXPECT_TRUE(CopyFileReplacing(dir_.path() + "//same.gif", Path("same.gif")));

    struct stat after {};
    ::stat(QFile::encodeName(Path("same.gif")).constData(), &after);
    EXPECT_EQ(Read("same.gif"), OldBytes);
    EXPECT_EQ(before.st_ino, after.st_ino); // not even replaced by a copy of itself
    EXPECT_EQ(Mode(Path("same.gif")), 0640u);
    EXPECT_EQ(Entries(), QStringList{"same.gif"});
}

TEST_F(FileCopyTest, CopyOntoAHardLinkOrSymbolicLinkOfItselfChangesNothing)
{
    Write("same.gif", OldBytes);
    ASSERT_EQ(::link(QFile::encodeName(Path("same.gif")).constData(), QFile::encodeName(Path("hard.gif")).constData()), 0);
    ASSERT_TRUE(QFile::link(Path("same.gif"), Path("soft.gif")));

    EXPECT_TRUE(CopyFileReplacing(Path("same.gif"), Path("hard.gif")));
    EXPECT_TRUE(CopyFileReplacing(Path("soft.gif"), Path("same.gif")));
    EXPECT_TRUE(CopyFileReplacing(Path("same.gif"), Path("soft.gif")));

    EXPECT_EQ(Read("same.gif"), OldBytes);
    EXPECT_TRUE(IsSameFile(Path("same.gif"), Path("hard.gif")));
    EXPECT_TRUE(QFileInfo(Path("soft.gif")).isSymLink());
}

TEST_F(FileCopyTest, SymbolicLinkTargetIsReplacedNotWrittenThrough)
{
    Write("source.gif", NewBytes);
    Write("elsewhere.gif", OldBytes);
    ASSERT_TRUE(QFile::link(Path("elsewhere.gif"), Path("target.gif")));
    EXPECT_TRUE(CopyFileReplacing(Path("source.gif"), Path("target.gif")));
    EXPECT_FALSE(QFileInfo(Path("target.gif")).isSymLink());
    EXPECT_EQ(Read("target.gif"), NewBytes);
    EXPECT_EQ(Read("elsewhere.gif"), OldBytes);
}

TEST_F(FileCopyTest, NewTargetTakesTheSourcePermissionsAndAReplacedOneKeepsItsOwn)
{
    Write("source.gif", NewBytes);
    ::chmod(QFile::encodeName(Path("source.gif")).constData(), 0640);
    EXPECT_TRUE(CopyFileReplacing(Path("source.gif"), Path("new.gif")));
    EXPECT_EQ(Mode(Path("new.gif")), 0640u);

    Write("kept.gif", OldBytes);
    ::chmod(QFile::encodeName(Path("kept.gif")).constData(), 0604);
    EXPECT_TRUE(CopyFileReplacing(Path("source.gif"), Path("kept.gif")));
    EXPECT_EQ(Mode(Path("kept.gif")), 0604u);
    EXPECT_EQ(Read("kept.gif"), NewBytes);
}

TEST_F(FileCopyTest, IsSameFileComparesDeviceAndInode)
{
    Write("a.gif", OldBytes);
    Write("b.gif", OldBytes);
    EXPECT_TRUE(IsSameFile(Path("a.gif"), dir_.path() + "/./a.gif"));
    EXPECT_FALSE(IsSameFile(Path("a.gif"), Path("b.gif")));
    EXPECT_FALSE(IsSameFile(Path("a.gif"), Path("missing.gif")));
    EXPECT_FALSE(IsSameFile(Path("missing.gif"), Path("missing.gif")));
}

TEST_F(FileCopyTest, WriteFailingMidWayLeavesTheTargetAsItWas)
{
    Write("source.gif", std::string(200000, 's'));
    Write("target.gif", OldBytes);
    ChildOptions options;
    options.fileSizeLimit = 100000; // the copy's temporary file outgrows it
    const ChildResult child = RunInChild(
        [&] { return std::string(CopyFileReplacing(Path("source.gif"), Path("target.gif")) ? "copied" : "failed"); },
        options);
    ASSERT_TRUE(child.ran);
    EXPECT_EQ(child.output, "failed");
    EXPECT_EQ(Read("target.gif"), OldBytes);
    EXPECT_EQ(Entries(), (QStringList{"source.gif", "target.gif"})); // no temporary file left
}

TEST_F(FileCopyTest, ReadOnlyFolderLeavesTheTargetAsItWas)
{
    QTemporaryDir sourceDir;
    const QString source = sourceDir.filePath("source.gif");
    {
        QFile file(source);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(NewBytes.data(), static_cast<qint64>(NewBytes.size()));
    }
    SetMode(sourceDir.path(), 0755);
    SetMode(source, 0644);
    Write("target.gif", OldBytes);
    SetMode(Path("target.gif"), 0666); // even a writable target is replaced only through its folder
    SetMode(dir_.path(), 0555);

    ChildOptions options;
    options.dropToNobody = true;
    const ChildResult child = RunInChild(
        [&] { return std::string(CopyFileReplacing(source, Path("target.gif")) ? "copied" : "failed"); }, options);
    SetMode(dir_.path(), 0700);
    ASSERT_TRUE(child.ran);
    EXPECT_EQ(child.output, "failed");
    EXPECT_EQ(Read("target.gif"), OldBytes);
    EXPECT_EQ(Entries(), QStringList{"target.gif"});
}

} // namespace

// Files committed together: a commit stopped after its first rename (here the second
// target became a folder) leaves its record, and whoever finds it finishes the
// renames; a record that is not one of ours is set aside without renaming anything.
TEST_F(FileCopyTest, CommitStoppedHalfWayIsFinishedByWhoeverFindsItsRecord)
{
    Write("0.gif", OldBytes);
    Write("1.gif", OldBytes);
    std::vector<ReplacementFile> files;
    for (const char* name : {"0.gif", "1.gif"}) {
        files.emplace_back(Path(QString::fromLatin1(name)));
        files.back().Write(NewBytes);
    }
    ASSERT_TRUE(QFile::remove(Path("1.gif")));
    ASSERT_TRUE(QDir(dir_.path()).mkpath("1.gif/inside"));
    EXPECT_THROW(CommitTogether(dir_.path(), files, FolderWriteLock({dir_.path()})), SkinError);
    files.clear();
    EXPECT_EQ(Read("0.gif"), NewBytes);
    EXPECT_TRUE(QFileInfo::exists(Path(CommitRecordName)));

    ASSERT_TRUE(QDir(Path("1.gif")).removeRecursively());
    EXPECT_TRUE(FinishInterruptedCommit(dir_.path(), FolderWriteLock({dir_.path()})).empty());
    EXPECT_EQ(Read("1.gif"), NewBytes);
    EXPECT_EQ(Entries(), QStringList({"0.gif", "1.gif"}));

    Write(CommitRecordName, "vellumark commit 1\n2f6574632f706173737764 2f746d70\nend\n");
    Write(".0.gif.vellumark-AbC123", OldBytes);
    EXPECT_EQ(FinishInterruptedCommit(dir_.path(), FolderWriteLock({dir_.path()})).size(), 1u);
    EXPECT_EQ(Read("0.gif"), NewBytes);
    EXPECT_EQ(Entries(), QStringList({".vellumark-commit.set-aside", "0.gif", "1.gif"}));
}
