#include "SkinWorkspace.h"

#include "ChildProcess.h"
#include "FilePaths.h"
#include "GifWriter.h"
#include "PictureContent.h"
#include "SkinError.h"
#include "SmallDisk.h"
#include "TestSkin.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string OpenError(const QString& path)
{
    return "Cannot open file \"" + DisplayPath(path) + "\". No such file or directory";
}

std::string CreateErrorPrefix(const QString& path)
{
    return "Cannot create file \"" + DisplayPath(path) + "\". ";
}

bool StartsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

// A colour unlike TestPictureColor, for a second skin.
QRgb OtherColor(int number)
{
    return qRgb(200, 5 * number, 100);
}

QRgb PixelOf(const QImage& image)
{
    return image.isNull() ? 0 : image.pixel(0, 0);
}

QString Gif(int number)
{
    return PictureFileName(number);
}

// Lines of a second skin: the reference layout with other positions.
std::vector<std::string> OtherSkinLines()
{
    auto lines = ReferenceSkinLines();
    lines[0] = "TrackNumber = 9 9 20 1 255 0x10203000 0x000000FF";
    lines[15] = "Play = 1 2 20";
    lines[31] = "StatusLine = 0";
    return lines;
}

// The second skin: OtherSkinLines and pictures of OtherColor.
void WriteOtherSkin(const TestSkin& skin)
{
    skin.WriteDescription(OtherSkinLines());
    for (int n = 0; n < SkinPictureCount; ++n)
        WriteGifFile(skin.Path(Gif(n)), SolidGif(4, 3, OtherColor(n)));
}

// Makes a folder made by root and its files readable by "nobody".
void ShareWithNobody(const QString& folder)
{
    SetMode(folder, 0755);
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
        SetMode(folder + "/" + name, 0644);
}

// Every entry of a folder, hidden ones included, with its bytes.
std::map<QString, std::string> FolderContents(const QString& folder)
{
    std::map<QString, std::string> contents;
    for (const QString& name :
         QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        contents[name] = FileBytes(folder + "/" + name);
    return contents;
}

// Description lines of about 60 KB: more than the small disks below hold.
std::vector<std::string> LargeSkinLines()
{
    auto lines = OtherSkinLines();
    for (int i = 0; i < 2000; ++i)
        lines.push_back("; a comment that makes the file large " + std::to_string(i));
    return lines;
}

class WorkspaceTest : public ::testing::Test {
protected:
    WorkspaceTest() : workspace_(document_, [this] { return exeFolder_; }) {}

    void SetUp() override
    {
        ASSERT_TRUE(exeDir_.isValid());
        ASSERT_TRUE(dataHome_.isValid());
        exeFolder_ = exeDir_.path() + "/";
        if (const char* old = std::getenv("XDG_DATA_HOME"))
            savedDataHome_ = old;
        // The fallback working folder must land in a temporary place.
        ::setenv("XDG_DATA_HOME", QFile::encodeName(dataHome_.path()).constData(), 1);
    }

    void TearDown() override
    {
        if (savedDataHome_)
            ::setenv("XDG_DATA_HOME", savedDataHome_->c_str(), 1);
        else
            ::unsetenv("XDG_DATA_HOME");
    }

    QString Working() const { return exeFolder_ + "Temp/"; }
    QString Fallback() const { return dataHome_.path() + "/vellumark/Temp/"; }
    SkinWorkspace::FolderResolver ResolverFn() { return [this] { return exeFolder_; }; }

    // The names in a folder, hidden ones included.
    static QStringList Entries(const QString& folder)
    {
        return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    }

    static QStringList SkinEntries(bool withLock)
    {
        QStringList names;
        for (int n = 0; n < SkinPictureCount; ++n)
            names << Gif(n);
        names << "Ruvex.rvk";
        if (withLock)
            names << SkinWorkspace::LockFileName();
        names.sort();
        return names;
    }

    void WriteAssets(const std::vector<std::string>& lang = {"1", "Playlist", "Artist", "Title", "Album", "3:05",
                                                            "0:10", "2:55", "Menu", "Back"}) const
    {
        ASSERT_TRUE(QDir(exeFolder_).mkpath("Files"));
        WriteGifFile(exeFolder_ + "Files/statusline.gif", SolidGif(5, 2, qRgb(1, 2, 3)));
        QFile file(exeFolder_ + "Files/LangRuvex.txt");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        const std::string bytes = JoinCrLf(lang);
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }

    // Runs action(document, workspace) in a child as "nobody" (when the tests run as
    // root), with a workspace of its own on this executable folder.
    ChildResult RunWorkspaceAsNobody(const std::function<std::string(SkinDocument&, SkinWorkspace&)>& action)
    {
        ChildOptions asNobody;
        asNobody.dropToNobody = true;
        return RunInChild(
            [&] {
                SkinDocument document;
                SkinWorkspace workspace(document, [&] { return exeFolder_; });
                return action(document, workspace);
            },
            asNobody);
    }

    // A picture of the second skin, outside any skin folder.
    QString OtherPicture(int number) const
    {
        const QString path = dataHome_.path() + "/other" + QString::number(number) + ".gif";
        WriteGifFile(path, SolidGif(4, 3, OtherColor(number)));
        return path;
    }

    QTemporaryDir exeDir_;
    QTemporaryDir dataHome_;
    QString exeFolder_;
    std::optional<std::string> savedDataHome_;
    SkinDocument document_;
    SkinWorkspace workspace_;
};

// --- Executable folder and working folder -------------------------------------------------

TEST(WorkspaceExecutableFolder, IsTheFolderOfTheRunningExecutable)
{
    const QString executable = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    ASSERT_FALSE(executable.isEmpty());
    const QString folder = RunningExecutableFolder();
    EXPECT_EQ(folder, QFileInfo(executable).absolutePath() + "/");
    EXPECT_TRUE(QFileInfo::exists(folder + QFileInfo(executable).fileName()));

    // Nothing depends on the current directory.
    QTemporaryDir elsewhere;
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(elsewhere.path()));
    EXPECT_EQ(RunningExecutableFolder(), folder);
    QDir::setCurrent(before);

    SkinDocument document;
    SkinWorkspace workspace(document);
    EXPECT_EQ(workspace.ExecutableFolder(), folder);
}

TEST_F(WorkspaceTest, ExecutableFolderIsResolvedAtEachUseAndEndsInASeparator)
{
    QTemporaryDir second;
    exeFolder_ = exeDir_.path(); // no separator: one is added
    EXPECT_EQ(workspace_.ExecutableFolder(), exeDir_.path() + "/");
    EXPECT_EQ(workspace_.WorkingFolder(), exeDir_.path() + "/Temp/");
    exeFolder_ = second.path() + "/";
    EXPECT_EQ(workspace_.ExecutableFolder(), second.path() + "/");
    EXPECT_EQ(workspace_.WorkingFolder(), second.path() + "/Temp/");
}

TEST_F(WorkspaceTest, WorkingFolderIsTempBesideAWritableExecutable)
{
    EXPECT_EQ(workspace_.WorkingFolder(), Working());
    ASSERT_TRUE(QDir(exeFolder_).mkdir("Temp"));
    EXPECT_EQ(workspace_.WorkingFolder(), Working());
    EXPECT_FALSE(QFileInfo::exists(Fallback())); // asking creates nothing
}

TEST_F(WorkspaceTest, FallbackWhenTheExecutableFolderCannotBeCreated)
{
    // A path through a regular file: root cannot create it either.
    QFile blocker(dataHome_.path() + "/file");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    exeFolder_ = dataHome_.path() + "/file/bin/";
    EXPECT_EQ(workspace_.WorkingFolder(), Fallback());

    TestSkin skin;
    skin.WriteComplete();
    workspace_.Open(skin.DescriptionPath());
    EXPECT_EQ(document_.SkinFileName, Fallback() + "Ruvex.rvk");
    EXPECT_EQ(Entries(Fallback()), SkinEntries(true));
    EXPECT_EQ(document_.Lines.Lines(), ReferenceSkinLines());
    EXPECT_TRUE(document_.SkinLoaded);
    EXPECT_EQ(workspace_.LockedFolder(), Fallback());

    // The assets are still looked for beside the executable.
    EXPECT_EQ(ErrorOf([&] { workspace_.LoadAssets(); }),
              "Cannot open file \"" + DisplayPath(exeFolder_ + "Files/statusline.gif") + "\". Not a directory\n"
                  + "Cannot open file \"" + DisplayPath(exeFolder_ + "Files/LangRuvex.txt") + "\". Not a directory");

    document_.Lines.Replace(0, "TrackNumber = 1 1 20 1 255 0x10203000 0x000000FF");
    workspace_.Autosave();
    EXPECT_EQ(FileBytes(Fallback() + "Ruvex.rvk").substr(0, 20), "TrackNumber = 1 1 20");
}

TEST_F(WorkspaceTest, FallbackWhenTheExecutableFolderIsReadOnly)
{
    WriteAssets();
    ShareWithNobody(exeFolder_ + "Files");
    SetMode(exeDir_.path(), 0555);
    SetMode(dataHome_.path(), 0777);
    TestSkin skin;
    skin.WriteComplete();
    ShareWithNobody(skin.Dir());

    const ChildResult child = RunWorkspaceAsNobody([&](SkinDocument& document, SkinWorkspace& workspace) {
        std::string out = workspace.WorkingFolder().toStdString() + "|";
        workspace.Open(skin.DescriptionPath());
        out += document.SkinFileName.toStdString() + "|" + std::to_string(document.Lines.Count()) + "|";
        workspace.LoadAssets();
        out += std::to_string(document.LangLines.size()) + "|" + (document.Pictures[StatusLineSlot].isNull() ? "no" : "yes");
        return out;
    });
    SetMode(exeDir_.path(), 0700);
    ASSERT_TRUE(child.ran);
    EXPECT_EQ(child.output, (Fallback() + "|" + Fallback() + "Ruvex.rvk|32|10|yes").toStdString());
    EXPECT_EQ(FileBytes(Fallback() + "Ruvex.rvk"), skin.ReadBytes("Ruvex.rvk"));
    EXPECT_FALSE(QFileInfo::exists(Working()));
}

TEST_F(WorkspaceTest, FallbackWhenTempExistsButCannotBeWritten)
{
    ASSERT_TRUE(QDir(exeFolder_).mkdir("Temp"));
    SetMode(Working(), 0555);
    SetMode(exeDir_.path(), 0777); // the executable folder itself could be written
    SetMode(dataHome_.path(), 0777);
    const ChildResult child = RunWorkspaceAsNobody(
        [](SkinDocument&, SkinWorkspace& workspace) { return workspace.WorkingFolder().toStdString(); });
    ASSERT_TRUE(child.ran);
    EXPECT_EQ(child.output, Fallback().toStdString());
}

// A "Temp" beside the executable that is a link is refused as one that cannot be
// written: the next start would clean, and an Open write, wherever it points.
TEST_F(WorkspaceTest, ATempThatIsALinkIsNotUsedAndWhatItPointsAtStaysAsItWas)
{
    QTemporaryDir elsewhere;
    for (const QString& name : {QStringLiteral("notes.txt"), QStringLiteral(".7.gif.vellumark-ZZZZZZ"),
                               QStringLiteral(".kept-1-1"), QStringLiteral("Ruvex.rvk")}) {
        QFile file(elsewhere.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("kept");
    }
    ASSERT_TRUE(QFile::link(elsewhere.path(), exeFolder_ + "Temp"));
    const auto before = DiskState(elsewhere.path());

    SkinDocument document;
    SkinWorkspace workspace(document, ResolverFn());
    EXPECT_EQ(workspace.WorkingFolder(), Fallback());
    workspace.RecoverAtStart();
    TestSkin skin;
    skin.WriteComplete();
    workspace.Open(skin.DescriptionPath());
    EXPECT_EQ(document.SkinFileName, Fallback() + "Ruvex.rvk");
    EXPECT_EQ(document.Lines.Lines(), ReferenceSkinLines());
    EXPECT_EQ(DiskState(elsewhere.path()), before);
    EXPECT_TRUE(QFileInfo(exeFolder_ + "Temp").isSymLink());
}

// --- Open ------------------------------------------------------------------------------------

TEST_F(WorkspaceTest, OpenCopiesTheSkinIntoTheWorkingFolderAndLoadsIt)
{
    TestSkin skin;
    skin.WriteComplete();
    EXPECT_FALSE(QFileInfo::exists(Working()));
    workspace_.Open(skin.DescriptionPath());

    EXPECT_EQ(document_.SkinFileName, Working() + "Ruvex.rvk");
    EXPECT_EQ(Entries(Working()), SkinEntries(true));
    for (int n = 0; n < SkinPictureCount; ++n) {
        EXPECT_EQ(FileBytes(Working() + Gif(n)), skin.ReadBytes(Gif(n))) << n;
        EXPECT_EQ(PixelOf(document_.Pictures[static_cast<std::size_t>(n)]), TestPictureColor(n)) << n;
    }
    EXPECT_EQ(FileBytes(Working() + "Ruvex.rvk"), skin.ReadBytes("Ruvex.rvk"));
    EXPECT_EQ(document_.Lines.Lines(), ReferenceSkinLines());
    EXPECT_TRUE(document_.SkinLoaded);
    EXPECT_EQ(document_.Model.StatusLine, 1);
    EXPECT_EQ(Entries(skin.Dir()), SkinEntries(false)); // the source is never written
}

// Read-only skin files (from a read-only medium, an installed example, an archive)
// must not leave the working copy read-only: the autosave and Replace picture
// rewrite it. The source keeps its own permissions.
TEST_F(WorkspaceTest, ASkinOfReadOnlyFilesGivesAWorkingCopyThatCanBeWritten)
{
    TestSkin skin;
    skin.WriteComplete();
    SetMode(skin.Dir(), 0755);
    for (const QString& name : Entries(skin.Dir()))
        SetMode(skin.Dir() + "/" + name, 0444);
    SetMode(exeDir_.path(), 0777);

    const ChildResult child = RunWorkspaceAsNobody([&](SkinDocument& document, SkinWorkspace& workspace) {
        workspace.Open(skin.DescriptionPath());
        document.Lines.Replace(0, "TrackNumber = 1 1 20 1 255 0x10203000 0x000000FF");
        return ErrorOf([&] { workspace.Autosave(); }) + "|"
            + ErrorOf([&] { PutPictureContent(workspace.PictureFile(3), PictureContent::Of("GIF89a")); });
    });
    ASSERT_TRUE(child.ran);
    EXPECT_EQ(child.output, "<no error>|<no error>");
    EXPECT_EQ(FileBytes(Working() + "Ruvex.rvk").substr(0, 20), "TrackNumber = 1 1 20");
    EXPECT_EQ(QFileInfo(skin.DescriptionPath()).permissions() & QFile::WriteOwner, 0);
}

TEST_F(WorkspaceTest, WorkingFolderIsNeverEmptied)
{
    ASSERT_TRUE(QDir(exeFolder_).mkdir("Temp"));
    QFile stray(Working() + "notes.txt");
    ASSERT_TRUE(stray.open(QIODevice::WriteOnly));
    stray.close();
    TestSkin skin;
    skin.WriteComplete();
    workspace_.Open(skin.DescriptionPath());
    workspace_.Open(skin.DescriptionPath());
    EXPECT_TRUE(QFileInfo::exists(Working() + "notes.txt"));
}

TEST_F(WorkspaceTest, SkinFolderLackingPicturesKeepsTheWorkingFoldersEarlierOnes)
{
    TestSkin first;
    first.WriteComplete();
    workspace_.Open(first.DescriptionPath());

    TestSkin second;
    second.WriteDescription(OtherSkinLines());
    for (int n : {0, 3, 8})
        WriteGifFile(second.Path(Gif(n)), SolidGif(4, 3, OtherColor(n)));
    workspace_.Open(second.DescriptionPath());

    for (int n = 0; n < SkinPictureCount; ++n) {
        const bool fromSecond = n == 0 || n == 3 || n == 8;
        const QRgb expected = fromSecond ? OtherColor(n) : TestPictureColor(n);
        EXPECT_EQ(PixelOf(document_.Pictures[static_cast<std::size_t>(n)]), expected) << n;
        EXPECT_EQ(FileBytes(Working() + Gif(n)), (fromSecond ? second : first).ReadBytes(Gif(n))) << n;
    }
    EXPECT_EQ(document_.Lines.Lines(), OtherSkinLines());
}

TEST_F(WorkspaceTest, EarlierRunsPicturesAreLoadedWithANewSkin)
{
    {
        SkinDocument earlier;
        SkinWorkspace earlierRun(earlier, ResolverFn());
        TestSkin first;
        first.WriteComplete();
        earlierRun.Open(first.DescriptionPath());
    }
    TestSkin second;
    second.WriteDescription(OtherSkinLines());
    WriteGifFile(second.Path(Gif(1)), SolidGif(4, 3, OtherColor(1)));
    workspace_.Open(second.DescriptionPath());
    EXPECT_EQ(PixelOf(document_.Pictures[1]), OtherColor(1));
    EXPECT_EQ(PixelOf(document_.Pictures[14]), TestPictureColor(14));
}

TEST_F(WorkspaceTest, FolderWithoutDescriptionLoadsTheEarlierWorkingCopys)
{
    TestSkin first;
    first.WriteDescription(OtherSkinLines());
    first.WritePictures();
    workspace_.Open(first.DescriptionPath());

    TestSkin second;
    WriteGifFile(second.Path(Gif(4)), SolidGif(4, 3, OtherColor(4)));
    workspace_.Open(second.Path("Ruvex.rvk")); // typed name; the file does not exist
    EXPECT_EQ(document_.Lines.Lines(), OtherSkinLines());
    EXPECT_EQ(PixelOf(document_.Pictures[4]), OtherColor(4));
    EXPECT_EQ(document_.Model.StatusLine, 0);
}

TEST_F(WorkspaceTest, FirstOpenOfAFolderWithoutDescriptionFailsWithTheOpeningError)
{
    TestSkin skin;
    skin.WritePictures();
    EXPECT_EQ(ErrorOf([&] { workspace_.Open(skin.DescriptionPath()); }), OpenError(Working() + "Ruvex.rvk"));
    EXPECT_EQ(document_.SkinFileName, Working() + "Ruvex.rvk");
    EXPECT_FALSE(document_.SkinLoaded);
    EXPECT_EQ(document_.Lines.Count(), 0);
    EXPECT_TRUE(QFileInfo::exists(Working() + "14.gif")); // the copies were made all the same
}

TEST_F(WorkspaceTest, OtherFileNamePickedInTheDialogUsesOnlyItsFolder)
{
    TestSkin skin;
    skin.WriteComplete();
    skin.WriteBytes("notes.txt", "not a skin\r\n");
    workspace_.Open(skin.Path("notes.txt"));
    EXPECT_EQ(document_.Lines.Lines(), ReferenceSkinLines());
    EXPECT_FALSE(QFileInfo::exists(Working() + "notes.txt"));

    TestSkin other;
    other.WriteDescription(OtherSkinLines());
    workspace_.Open(other.Path("RUVEX.RVK")); // does not exist; only the folder counts
    EXPECT_EQ(document_.Lines.Lines(), OtherSkinLines());
    EXPECT_EQ(document_.SkinFileName, Working() + "Ruvex.rvk");
}

TEST_F(WorkspaceTest, OpeningTheWorkingCopyItselfChangesNothing)
{
    TestSkin skin;
    skin.WriteComplete();
    workspace_.Open(skin.DescriptionPath());
    const std::string description = FileBytes(Working() + "Ruvex.rvk");
    const std::string picture = FileBytes(Working() + "7.gif");
    workspace_.Open(Working() + "Ruvex.rvk");
    EXPECT_EQ(FileBytes(Working() + "Ruvex.rvk"), description);
    EXPECT_EQ(FileBytes(Working() + "7.gif"), picture);
    EXPECT_EQ(Entries(Working()), SkinEntries(true));
    EXPECT_EQ(document_.Lines.Lines(), ReferenceSkinLines());
}

TEST_F(WorkspaceTest, OpenWithNoFileChosenChangesNothing)
{
    workspace_.Open(QString());
    EXPECT_FALSE(QFileInfo::exists(Working()));
    EXPECT_TRUE(document_.SkinFileName.isEmpty());
}

// A skin file that is a link out of the skin's folder (to a private picture, to a key
// file) is refused before anything is read: nothing of it reaches the working folder,
// from which every Save as would carry it on. A link within the folder is fine.
TEST_F(WorkspaceTest, OpenRefusesASkinFileThatLinksOutOfTheSkin)
{
    TestSkin first;
    first.WriteComplete();
    workspace_.Open(first.DescriptionPath());
    const auto before = FolderContents(Working());
    QTemporaryDir privateDir;
    const QString picture = privateDir.filePath("private.gif");
    WriteGifFile(picture, SolidGif(4, 3, OtherColor(9)));
    SetMode(picture, 0600);
    const QString key = privateDir.filePath("key.txt");
    {
        QFile file(key);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("PRIVATE KEY\n");
    }
    TestSkin inside; // a folder in the skin's folder is outside the skin too
    inside.WriteComplete();
    ASSERT_TRUE(QDir(inside.Dir()).mkdir("art"));
    WriteGifFile(inside.Path("art/5.gif"), SolidGif(4, 3, OtherColor(5)));
    const auto privateBefore = DiskState(privateDir.path());

    const struct {
        const char* name;
        QString target;
        TestSkin* skin;
    } links[] = {{"0.gif", picture, nullptr}, {"Ruvex.rvk", key, nullptr}, {"5.gif", "art/5.gif", &inside}};
    for (const auto& link : links) {
        TestSkin outside;
        TestSkin& skin = link.skin != nullptr ? *link.skin : outside;
        if (link.skin == nullptr)
            WriteOtherSkin(skin);
        QFile::remove(skin.Path(link.name));
        ASSERT_TRUE(QFile::link(link.target, skin.Path(link.name)));
        const QString resolved = QFileInfo(skin.Path(link.name)).canonicalFilePath();
        EXPECT_EQ(ErrorOf([&] { workspace_.Open(skin.DescriptionPath()); }),
                  std::string(link.name) + " is a link to a file outside the skin: \"" + DisplayPath(skin.Path(link.name))
                      + "\" leads to \"" + DisplayPath(resolved) + "\"")
            << link.name;
        EXPECT_EQ(FolderContents(Working()), before) << link.name;
        EXPECT_EQ(document_.Lines.Lines(), ReferenceSkinLines()) << link.name;
    }
    EXPECT_EQ(DiskState(privateDir.path()), privateBefore);

    // Links to files of the folder itself are followed, and the working copy, which
    // Save as reads, holds files, not links.
    TestSkin linked;
    WriteOtherSkin(linked);
    WriteGifFile(linked.Path("spare.gif"), SolidGif(4, 3, OtherColor(40)));
    QFile::remove(linked.Path(Gif(4)));
    ASSERT_TRUE(QFile::link("spare.gif", linked.Path(Gif(4))));
    QFile::remove(linked.Path(Gif(6)));
    ASSERT_TRUE(QFile::link(linked.Path(Gif(2)), linked.Path(Gif(6))));
    workspace_.Open(linked.DescriptionPath());
    EXPECT_EQ(document_.Lines.Lines(), OtherSkinLines());
    QTemporaryDir saved;
    workspace_.SaveAs(saved.filePath("Ruvex.rvk"));
    for (const QString& folder : {Working(), saved.path() + "/"}) {
        EXPECT_FALSE(QFileInfo(folder + Gif(4)).isSymLink());
        EXPECT_EQ(FileBytes(folder + Gif(4)), linked.ReadBytes("spare.gif"));
        EXPECT_EQ(FileBytes(folder + Gif(6)), linked.ReadBytes(Gif(2)));
    }
}

// A skin folder holding a file that cannot be read as one (a named pipe, a folder)
// stops the Open with that file's reason before anything is copied.
TEST_F(WorkspaceTest, OpenOfAFolderWithAnUnreadableFileChangesNothing)
{
    TestSkin first;
    first.WriteComplete();
    workspace_.Open(first.DescriptionPath());
    const auto before = FolderContents(Working());

    TestSkin second;
    WriteOtherSkin(second);
    QFile::remove(second.Path(Gif(3)));
    ASSERT_EQ(::mkfifo(QFile::encodeName(second.Path(Gif(3))).constData(), 0644), 0);
    EXPECT_EQ(ErrorOf([&] { workspace_.Open(second.DescriptionPath()); }),
              "Cannot open file \"" + DisplayPath(second.Path(Gif(3))) + "\". It is a named pipe, not a regular file");
    EXPECT_EQ(FolderContents(Working()), before);
    EXPECT_EQ(document_.Lines.Lines(), ReferenceSkinLines());
}

// An Open's errors name the files where the user chose them, never the working copy
// the user does not know; a skin folder that cannot be searched is refused as such,
// not taken for one without files (which opened the previous skin's working copy).
TEST_F(WorkspaceTest, OpenErrorsNameTheChosenFolder)
{
    TestSkin skin;
    skin.WriteComplete();
    {
        QFile broken(skin.Path(Gif(3)));
        ASSERT_TRUE(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
        broken.write("GIF89a and nothing else");
    }
    const std::string message = ErrorOf([&] { workspace_.Open(skin.DescriptionPath()); });
    EXPECT_TRUE(StartsWith(message, "Cannot read picture \"" + DisplayPath(skin.Path(Gif(3))) + "\". ")) << message;

    TestSkin closed;
    closed.WriteDescription(OtherSkinLines());
    ShareWithNobody(closed.Dir());
    SetMode(closed.Dir(), 0600);
    const ChildResult child = RunWorkspaceAsNobody([&](SkinDocument& document, SkinWorkspace& workspace) {
        return ErrorOf([&] { workspace.Open(closed.DescriptionPath()); }) + "|" + std::to_string(document.Lines.Count());
    });
    SetMode(closed.Dir(), 0700);
    ASSERT_TRUE(child.ran);
    EXPECT_EQ(child.output, "Cannot open file \"" + DisplayPath(closed.DescriptionPath()) + "\". Permission denied|0");
}

// A working folder whose disk fills up in the middle of an Open: the error is shown
// and the earlier skin stays, on disk and in the document, with no temporary file.
TEST_F(WorkspaceTest, OpenThatRunsOutOfRoomChangesNothing)
{
    TestSkin first;
    first.WriteComplete();
    ASSERT_TRUE(QDir(exeFolder_).mkpath("Temp"));
    SmallDisk disk(Working(), 96 * 1024); // the first skin and a part of the second
    workspace_.Open(first.DescriptionPath());
    const auto before = FolderContents(Working());

    TestSkin second;
    second.WriteDescription(LargeSkinLines());
    for (int n = 0; n < SkinPictureCount; ++n)
        WriteGifFile(second.Path(Gif(n)), SolidGif(4, 3, OtherColor(n)));
    ChildOptions limited;
    if (!disk.Mounted())
        limited.fileSizeLimit = 16 * 1024;
    const ChildResult child = RunInChild(
        [&] {
            const std::string message = ErrorOf([&] { workspace_.Open(second.DescriptionPath()); });
            return message + "|" + document_.Lines.Line(0) + "|" + (FolderContents(Working()) == before ? "same" : "changed");
        },
        limited);
    ASSERT_TRUE(child.ran);
    const std::string reason = disk.Mounted() ? "No space left on device" : "File too large";
    EXPECT_EQ(child.output, CreateErrorPrefix(Working() + "Ruvex.rvk") + reason + "|" + ReferenceSkinLines()[0] + "|same");
}

// --- Lock of the working folder ------------------------------------------------------------

TEST_F(WorkspaceTest, LockIsHeldFromTheFirstOpenUntilTheWorkspaceEnds)
{
    TestSkin skin;
    skin.WriteComplete();
    {
        SkinDocument document;
        SkinWorkspace workspace(document, ResolverFn());
        EXPECT_TRUE(workspace.LockedFolder().isEmpty());
        workspace.Open(skin.DescriptionPath());
        EXPECT_EQ(workspace.LockedFolder(), Working());
        EXPECT_TRUE(QFileInfo::exists(Working() + SkinWorkspace::LockFileName()));
        workspace.Open(skin.DescriptionPath()); // a later Open keeps the same lock
        EXPECT_EQ(workspace.LockedFolder(), Working());
    }
    EXPECT_FALSE(QFileInfo::exists(Working() + SkinWorkspace::LockFileName()));
}

TEST_F(WorkspaceTest, SecondWorkspaceIsRefusedWhileTheFirstHoldsTheLock)
{
    TestSkin first;
    first.WriteComplete();
    TestSkin second;
    WriteOtherSkin(second);

    SkinDocument firstDocument;
    auto holder = std::make_unique<SkinWorkspace>(firstDocument, ResolverFn());
    holder->Open(first.DescriptionPath());

    SkinDocument secondDocument;
    SkinWorkspace other(secondDocument, ResolverFn());
    EXPECT_EQ(ErrorOf([&] { other.Open(second.DescriptionPath()); }),
              "The working folder \"" + DisplayPath(Working()) + "\" is in use by another running copy of Vellumark");
    // Nothing was copied and nothing loaded.
    for (int n = 0; n < SkinPictureCount; ++n)
        EXPECT_EQ(FileBytes(Working() + Gif(n)), first.ReadBytes(Gif(n))) << n;
    EXPECT_EQ(FileBytes(Working() + "Ruvex.rvk"), first.ReadBytes("Ruvex.rvk"));
    EXPECT_TRUE(secondDocument.SkinFileName.isEmpty());
    EXPECT_EQ(secondDocument.Lines.Count(), 0);

    holder.reset(); // the first editor ends
    other.Open(second.DescriptionPath());
    EXPECT_EQ(secondDocument.Lines.Lines(), OtherSkinLines());
    EXPECT_EQ(PixelOf(secondDocument.Pictures[0]), OtherColor(0));
}

TEST_F(WorkspaceTest, AnotherRunningCopyHoldingTheLockRefusesOpenAndACrashedOneDoesNot)
{
    TestSkin first;
    first.WriteComplete();
    TestSkin second;
    second.WriteDescription(OtherSkinLines());

    int ready[2];
    int release[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(release), 0);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ::close(ready[0]);
        ::close(release[1]);
        char state = 'f';
        try {
            SkinDocument document;
            auto* workspace = new SkinWorkspace(document, [&] { return exeFolder_; }); // never released
            workspace->Open(first.DescriptionPath());
            state = 'l';
        } catch (...) {
        }
        (void)!::write(ready[1], &state, 1);
        (void)!::read(release[0], &state, 1);
        ::_exit(0); // like a crash: the lock file stays behind
    }
    ::close(ready[1]);
    ::close(release[0]);
    char state = 0;
    ASSERT_EQ(::read(ready[0], &state, 1), 1);
    ASSERT_EQ(state, 'l');

    EXPECT_EQ(ErrorOf([&] { workspace_.Open(second.DescriptionPath()); }),
              "The working folder \"" + DisplayPath(Working()) + "\" is in use by another running copy of Vellumark");
    EXPECT_EQ(FileBytes(Working() + "Ruvex.rvk"), first.ReadBytes("Ruvex.rvk"));
    EXPECT_TRUE(document_.SkinFileName.isEmpty());

    (void)!::write(release[1], "x", 1);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ::close(ready[0]);
    ::close(release[1]);
    ASSERT_TRUE(QFileInfo::exists(Working() + SkinWorkspace::LockFileName())); // left by the "crash"

    workspace_.Open(second.DescriptionPath());
    EXPECT_EQ(document_.Lines.Lines(), OtherSkinLines());
    EXPECT_EQ(workspace_.LockedFolder(), Working());
}

// The lock dies with its holder: a lock file of any content (empty, or naming a
// process that runs) does not keep the folder, and temporary files an earlier run
// left in the working folder are removed when it is taken.
TEST_F(WorkspaceTest, LeftoversOfAnEarlierRunNeitherKeepTheFolderNorStay)
{
    ASSERT_TRUE(QDir(exeFolder_).mkpath("Temp"));
    TestSkin skin;
    skin.WriteComplete();
    for (const std::string lockText : {"", "1\nvellumark\nanother-host\n"}) {
        QFile lock(Working() + SkinWorkspace::LockFileName());
        ASSERT_TRUE(lock.open(QIODevice::WriteOnly | QIODevice::Truncate));
        lock.write(lockText.data(), static_cast<qint64>(lockText.size()));
        lock.close();
        const QStringList strays = {".Ruvex.rvk.vellumark-a1B2c3", ".7.gif.vellumark-ZZZZZZ", ".kept-7-2", "notes.txt"};
        for (const QString& name : strays) {
            QFile file(Working() + name);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        SkinDocument document;
        SkinWorkspace workspace(document, ResolverFn());
        workspace.Open(skin.DescriptionPath());
        EXPECT_EQ(workspace.LockedFolder(), Working());
        QStringList expected = SkinEntries(true);
        expected << "notes.txt";
        expected.sort();
        EXPECT_EQ(Entries(Working()), expected);
    }
}

// --- Save as ---------------------------------------------------------------------------------

TEST_F(WorkspaceTest, SaveAsBeforeOpenIsRefusedAndWritesNothing)
{
    // Pictures of an earlier run in the working folder would otherwise be copied out too.
    {
        SkinDocument earlier;
        SkinWorkspace earlierRun(earlier, ResolverFn());
        TestSkin old;
        old.WriteComplete();
        earlierRun.Open(old.DescriptionPath());
    }
    TestSkin destination;
    destination.WriteComplete();
    const std::string before = destination.ReadBytes("Ruvex.rvk");
    EXPECT_EQ(ErrorOf([&] { workspace_.SaveAs(destination.DescriptionPath()); }), "Open a skin before saving it");
    EXPECT_EQ(destination.ReadBytes("Ruvex.rvk"), before);

    QTemporaryDir empty;
    EXPECT_EQ(ErrorOf([&] { workspace_.SaveAs(empty.filePath("Ruvex.rvk")); }), "Open a skin before saving it");
    EXPECT_TRUE(Entries(empty.path()).isEmpty());
    EXPECT_FALSE(workspace_.HasDescription());
}

TEST_F(WorkspaceTest, SaveAsAfterAFailedFirstOpenIsRefused)
{
    TestSkin skin;
    skin.WritePictures();
    EXPECT_NE(ErrorOf([&] { workspace_.Open(skin.DescriptionPath()); }), "<no error>");
    QTemporaryDir destination;
    EXPECT_EQ(ErrorOf([&] { workspace_.SaveAs(destination.filePath("Ruvex.rvk")); }), "Open a skin before saving it");
    EXPECT_TRUE(Entries(destination.path()).isEmpty());
}

TEST_F(WorkspaceTest, SaveAsIsAllowedWhenTheDescriptionWasReadButDidNotParse)
{
    TestSkin skin;
    auto lines = ReferenceSkinLines();
    lines.pop_back(); // no StatusLine: the parse fails, the lines are loaded
    skin.WriteDescription(lines);
    skin.WritePictures();
    EXPECT_NE(ErrorOf([&] { workspace_.Open(skin.DescriptionPath()); }), "<no error>");
    EXPECT_FALSE(document_.SkinLoaded);
    ASSERT_TRUE(workspace_.HasDescription());
    QTemporaryDir destination;
    workspace_.SaveAs(destination.filePath("Ruvex.rvk"));
    EXPECT_EQ(FileBytes(destination.filePath("Ruvex.rvk")), JoinCrLf(lines));
}

TEST_F(WorkspaceTest, SaveAsWritesTheWorkingPicturesAndTheCurrentLines)
{
    TestSkin skin;
    skin.WriteComplete();
    workspace_.Open(skin.DescriptionPath());
    document_.Lines.Replace(15, "Play = 70 190 20");
    const auto edited = document_.Lines.Lines();

    QTemporaryDir destination;
    workspace_.SaveAs(destination.filePath("MySkin.txt")); // only the folder counts
    EXPECT_EQ(Entries(destination.path()), SkinEntries(false));
    for (int n = 0; n < SkinPictureCount; ++n)
        EXPECT_EQ(FileBytes(destination.filePath(Gif(n))), skin.ReadBytes(Gif(n))) << n;
    EXPECT_EQ(FileBytes(destination.filePath("Ruvex.rvk")), JoinCrLf(edited));

    // No state changes: the working copy stays the working copy.
    EXPECT_EQ(document_.SkinFileName, Working() + "Ruvex.rvk");
    EXPECT_EQ(FileBytes(Working() + "Ruvex.rvk"), skin.ReadBytes("Ruvex.rvk"));
    EXPECT_EQ(document_.Lines.Lines(), edited);
    workspace_.Autosave();
    EXPECT_EQ(FileBytes(Working() + "Ruvex.rvk"), JoinCrLf(edited));
}

TEST_F(WorkspaceTest, SaveAsIntoTheWorkingFolderActsLikeAnAutosave)
{
    TestSkin skin;
    skin.WriteComplete();
    workspace_.Open(skin.DescriptionPath());
    document_.Lines.Replace(0, "TrackNumber = 1 1 20 1 255 0x10203000 0x000000FF");
    workspace_.SaveAs(Working() + "Ruvex.rvk");
    for (int n = 0; n < SkinPictureCount; ++n)
        EXPECT_EQ(FileBytes(Working() + Gif(n)), skin.ReadBytes(Gif(n))) << n;
    EXPECT_EQ(FileBytes(Working() + "Ruvex.rvk"), JoinCrLf(document_.Lines.Lines()));
    EXPECT_EQ(Entries(Working()), SkinEntries(true));
}

TEST_F(WorkspaceTest, SaveAsIntoTheSourceFolderWritesTheEditedSkinBack)
{
    TestSkin skin;
    skin.WriteComplete();
    workspace_.Open(skin.DescriptionPath());
    PutPictureContent(Working() + Gif(6), PictureContent::Of(FileBytes(OtherPicture(6))));
    document_.Lines.Replace(16, "Pause = 1 1 20");
    workspace_.SaveAs(skin.DescriptionPath());
    EXPECT_EQ(skin.ReadBytes(Gif(6)), FileBytes(Working() + Gif(6)));
    EXPECT_EQ(skin.ReadBytes("Ruvex.rvk"), JoinCrLf(document_.Lines.Lines()));
    EXPECT_EQ(document_.Lines.Line(16), "Pause = 1 1 20");
    EXPECT_EQ(Entries(skin.Dir()), SkinEntries(false));
}

TEST_F(WorkspaceTest, SaveAsIntoAReadOnlyFolderLeavesItsFilesAndReportsTheCreationError)
{
    TestSkin skin;
    skin.WriteComplete();
    workspace_.Open(skin.DescriptionPath());
    document_.Lines.Replace(0, "TrackNumber = 1 1 20 1 255 0x10203000 0x000000FF");
    ShareWithNobody(exeDir_.path());
    ShareWithNobody(Working());

    TestSkin destination;
    WriteOtherSkin(destination);
    ShareWithNobody(destination.Dir());
    for (const QString& name : Entries(destination.Dir()))
        SetMode(destination.Path(name), 0666); // writable files in a folder that is not
    SetMode(destination.Dir(), 0555);
    std::vector<std::string> before;
    for (const QString& name : Entries(destination.Dir()))
        before.push_back(destination.ReadBytes(name));

    ChildOptions asNobody;
    asNobody.dropToNobody = true;
    const ChildResult child = RunInChild([&] { return ErrorOf([&] { workspace_.SaveAs(destination.DescriptionPath()); }); },
                                         asNobody);
    SetMode(destination.Dir(), 0700);
    ASSERT_TRUE(child.ran);
    EXPECT_EQ(child.output, CreateErrorPrefix(destination.DescriptionPath()) + "Permission denied");
    std::vector<std::string> after;
    for (const QString& name : Entries(destination.Dir()))
        after.push_back(destination.ReadBytes(name));
    EXPECT_EQ(after, before);
    EXPECT_EQ(Entries(destination.Dir()), SkinEntries(false));
}

TEST_F(WorkspaceTest, SaveAsThroughARegularFileReportsTheCreationError)
{
    TestSkin skin;
    skin.WriteComplete();
    workspace_.Open(skin.DescriptionPath());
    const QString folder = skin.Path("0.gif") + "/sub";
    const std::string message = ErrorOf([&] { workspace_.SaveAs(folder + "/Ruvex.rvk"); });
    EXPECT_EQ(message, CreateErrorPrefix(folder + "/Ruvex.rvk") + "Not a directory");
    EXPECT_EQ(Entries(skin.Dir()), SkinEntries(false));
}

// A write-protected file in the destination refuses the whole Save as before
// anything is written: no byte and no file there changes.
TEST_F(WorkspaceTest, SaveAsIntoAFolderWithAReadOnlyFileChangesNothing)
{
    TestSkin skin;
    skin.WriteComplete();
    workspace_.Open(skin.DescriptionPath());
    document_.Lines.Replace(0, "TrackNumber = 1 1 20 1 255 0x10203000 0x000000FF");
    ShareWithNobody(exeDir_.path());
    ShareWithNobody(Working());

    TestSkin destination;
    WriteOtherSkin(destination);
    ShareWithNobody(destination.Dir());
    SetMode(destination.Dir(), 0777);
    for (const QString& name : Entries(destination.Dir()))
        SetMode(destination.Path(name), 0666);
    SetMode(destination.Path(Gif(0)), 0444);
    SetMode(destination.Path(Gif(9)), 0444);
    const auto before = FolderContents(destination.Dir());

    ChildOptions asNobody;
    asNobody.dropToNobody = true;
    const ChildResult child = RunInChild([&] { return ErrorOf([&] { workspace_.SaveAs(destination.DescriptionPath()); }); },
                                         asNobody);
    ASSERT_TRUE(child.ran);
    EXPECT_EQ(child.output, CreateErrorPrefix(destination.Path(Gif(0))) + "Permission denied");
    EXPECT_EQ(FolderContents(destination.Dir()), before);
}

// A destination whose disk fills up in the middle of a Save as keeps its old skin
// whole: no new picture beside the old description, no temporary file.
TEST_F(WorkspaceTest, SaveAsThatRunsOutOfRoomChangesNothing)
{
    TestSkin skin;
    skin.WriteDescription(LargeSkinLines());
    skin.WritePictures();
    workspace_.Open(skin.DescriptionPath());

    QTemporaryDir destinationDir;
    const QString destination = destinationDir.path() + "/";
    SmallDisk disk(destination, 128 * 1024); // the old skin, the new pictures, not the new description
    for (int n = 0; n < SkinPictureCount; ++n)
        WriteGifFile(destination + Gif(n), SolidGif(4, 3, OtherColor(n)));
    {
        QFile old(destination + "Ruvex.rvk");
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(JoinCrLf(OtherSkinLines()).c_str());
    }
    const auto before = FolderContents(destination);
    ChildOptions limited;
    if (!disk.Mounted())
        limited.fileSizeLimit = 16 * 1024;
    const ChildResult child = RunInChild([&] { return ErrorOf([&] { workspace_.SaveAs(destination + "Ruvex.rvk"); }); },
                                         limited);
    ASSERT_TRUE(child.ran);
    const std::string reason = disk.Mounted() ? "No space left on device" : "File too large";
    EXPECT_EQ(child.output, CreateErrorPrefix(destination + "Ruvex.rvk") + reason);
    EXPECT_EQ(FolderContents(destination), before);
}

// --- Autosave --------------------------------------------------------------------------------

TEST_F(WorkspaceTest, AutosaveBeforeASuccessfulOpenWritesNothing)
{
    workspace_.Autosave();
    EXPECT_FALSE(QFileInfo::exists(Working()));
    EXPECT_FALSE(QFileInfo::exists(Fallback()));

    TestSkin skin;
    skin.WritePictures(); // no description: the Open fails
    EXPECT_NE(ErrorOf([&] { workspace_.Open(skin.DescriptionPath()); }), "<no error>");
    workspace_.Autosave();
    EXPECT_FALSE(QFileInfo::exists(Working() + "Ruvex.rvk"));
}

TEST_F(WorkspaceTest, AutosaveWritesTheLinesWithCrLfAfterEveryLine)
{
    TestSkin skin;
    skin.WritePictures();
    std::string lf;
    for (const auto& line : ReferenceSkinLines())
        lf += line + "\n";
    lf.pop_back(); // LF only, and no line end after the last line
    skin.WriteBytes("Ruvex.rvk", lf);
    workspace_.Open(skin.DescriptionPath());
    EXPECT_EQ(FileBytes(Working() + "Ruvex.rvk"), lf); // copied as it was
    EXPECT_EQ(document_.Lines.Lines(), ReferenceSkinLines());

    workspace_.Autosave();
    EXPECT_EQ(FileBytes(Working() + "Ruvex.rvk"), JoinCrLf(ReferenceSkinLines()));
    document_.Lines.Replace(31, "StatusLine = 0");
    workspace_.Autosave();
    auto edited = ReferenceSkinLines();
    edited[31] = "StatusLine = 0";
    EXPECT_EQ(FileBytes(Working() + "Ruvex.rvk"), JoinCrLf(edited));
    EXPECT_EQ(Entries(Working()), SkinEntries(true)); // no temporary file left
    EXPECT_EQ(skin.ReadBytes("Ruvex.rvk"), lf);
}

TEST_F(WorkspaceTest, AutosaveFailingMidWayLeavesTheOldFileAndReportsTheCreationError)
{
    TestSkin skin;
    skin.WriteComplete();
    workspace_.Open(skin.DescriptionPath());
    document_.Lines.Replace(0, "TrackNumber = 1 1 20 1 255 0x10203000 0x000000FF");
    const std::string before = FileBytes(Working() + "Ruvex.rvk");

    ChildOptions small;
    small.fileSizeLimit = 64; // far less than the description file
    const ChildResult child = RunInChild([&] { return ErrorOf([&] { workspace_.Autosave(); }); }, small);
    ASSERT_TRUE(child.ran);
    EXPECT_EQ(child.output, CreateErrorPrefix(Working() + "Ruvex.rvk") + "File too large");
    EXPECT_EQ(FileBytes(Working() + "Ruvex.rvk"), before);
    EXPECT_EQ(Entries(Working()), SkinEntries(true));
}

TEST_F(WorkspaceTest, AutosaveIntoAReadOnlyWorkingFolderLeavesTheOldFile)
{
    TestSkin skin;
    skin.WriteComplete();
    workspace_.Open(skin.DescriptionPath());
    document_.Lines.Replace(0, "TrackNumber = 1 1 20 1 255 0x10203000 0x000000FF");
    const std::string before = FileBytes(Working() + "Ruvex.rvk");
    ShareWithNobody(exeDir_.path());
    ShareWithNobody(Working());
    SetMode(Working() + "Ruvex.rvk", 0666);
    SetMode(Working(), 0555);

    ChildOptions asNobody;
    asNobody.dropToNobody = true;
    const ChildResult child = RunInChild([&] { return ErrorOf([&] { workspace_.Autosave(); }); }, asNobody);
    SetMode(Working(), 0755);
    ASSERT_TRUE(child.ran);
    EXPECT_EQ(child.output, CreateErrorPrefix(Working() + "Ruvex.rvk") + "Permission denied");
    EXPECT_EQ(FileBytes(Working() + "Ruvex.rvk"), before);
    EXPECT_EQ(Entries(Working()), SkinEntries(true));

    workspace_.Autosave(); // the next tick tries again
    EXPECT_EQ(FileBytes(Working() + "Ruvex.rvk"), JoinCrLf(document_.Lines.Lines()));
}

// --- Load assets -----------------------------------------------------------------------------

TEST_F(WorkspaceTest, LoadAssetsLoadsTheOverlayAndTheSampleTexts)
{
    WriteAssets();
    workspace_.LoadAssets();
    EXPECT_EQ(document_.Pictures[StatusLineSlot].size(), QSize(5, 2));
    EXPECT_EQ(PixelOf(document_.Pictures[StatusLineSlot]), qRgb(1, 2, 3));
    ASSERT_EQ(document_.LangLines.size(), 10u);
    EXPECT_EQ(document_.LangLines[2], "Artist");
    EXPECT_EQ(document_.LangLines[9], "Back");
    EXPECT_FALSE(QFileInfo::exists(Working())); // assets create no working folder
}

TEST_F(WorkspaceTest, MissingOverlayIsReportedAndTheSampleTextsStillLoad)
{
    WriteAssets();
    QFile::remove(exeFolder_ + "Files/statusline.gif");
    EXPECT_EQ(ErrorOf([&] { workspace_.LoadAssets(); }), OpenError(exeFolder_ + "Files/statusline.gif"));
    EXPECT_TRUE(document_.Pictures[StatusLineSlot].isNull());
    EXPECT_EQ(document_.LangLines.size(), 10u);
}

TEST_F(WorkspaceTest, UndecodableOverlayIsReportedAndTheSampleTextsStillLoad)
{
    WriteAssets();
    {
        QFile file(exeFolder_ + "Files/statusline.gif");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("not a gif");
    }
    const std::string message = ErrorOf([&] { workspace_.LoadAssets(); });
    EXPECT_TRUE(StartsWith(message, "Cannot read picture \"" + DisplayPath(exeFolder_ + "Files/statusline.gif") + "\". "))
        << message;
    EXPECT_EQ(document_.LangLines.size(), 10u);
}

TEST_F(WorkspaceTest, MissingSampleTextsAreReportedLeftEmptyAndTheOverlayStillLoads)
{
    WriteAssets();
    QFile::remove(exeFolder_ + "Files/LangRuvex.txt");
    document_.LangLines = {"stale"};
    EXPECT_EQ(ErrorOf([&] { workspace_.LoadAssets(); }), OpenError(exeFolder_ + "Files/LangRuvex.txt"));
    EXPECT_FALSE(document_.Pictures[StatusLineSlot].isNull());
    EXPECT_TRUE(document_.LangLines.empty());
}

TEST_F(WorkspaceTest, BothAssetsMissingGiveBothMessagesOnTwoLines)
{
    EXPECT_EQ(ErrorOf([&] { workspace_.LoadAssets(); }),
              OpenError(exeFolder_ + "Files/statusline.gif") + "\n" + OpenError(exeFolder_ + "Files/LangRuvex.txt"));
    EXPECT_TRUE(document_.Pictures[StatusLineSlot].isNull());
    EXPECT_TRUE(document_.LangLines.empty());
}

} // namespace
