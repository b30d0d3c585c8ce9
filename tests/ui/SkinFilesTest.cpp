// Starting and reopening skins and painting their pictures elsewhere: File › New
// skin, File › Open recent, drops on the window and on "Resources", and the
// watch on the working copy's pictures.
#include "MainWindow.h"

#include "GifWriter.h"
#include "RecentSkins.h"
#include "ResourcesPage.h"
#include "TestSkin.h"
#include "TestWindow.h"

#include <QAction>
#include <QCryptographicHash>
#include <QDesktopServices>
#include <QDir>
#include <QDirIterator>
#include <QDropEvent>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QUrl>

#include <gtest/gtest.h>

#include <map>

namespace {

const QString ExampleSkin = QStringLiteral(VELLUMARK_SOURCE_DIR "/examples/skins/harbour");

std::string ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "<missing>";
}

// Every entry of a folder with its bytes' hash, permissions and time.
std::map<QString, QString> FolderState(const QString& dir)
{
    std::map<QString, QString> state;
    QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        state[path] = QString::fromLatin1(QCryptographicHash::hash(QByteArray::fromStdString(ReadAll(path)),
                                                                   QCryptographicHash::Sha256)
                                              .toHex())
            + QString::number(info.permissions()) + info.lastModified().toString(Qt::ISODateWithMs);
    }
    return state;
}

// Writes bytes beside target and renames them over it, as paint programs save.
void WriteByRename(const QString& target, const std::function<void(const QString&)>& write)
{
    const QString temporary = target + ".saving";
    write(temporary);
    ASSERT_EQ(std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(target).constData()), 0);
}

class SkinFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RecentSkins().Clear();
        WriteTestAssets(executable_.path());
        // The starter skin as the build installs it beside the executables.
        QDir().mkpath(executable_.filePath("Files/Starter"));
        for (const QString& name : QDir(ExampleSkin).entryList(QDir::Files))
            ASSERT_TRUE(QFile::copy(ExampleSkin + "/" + name, executable_.filePath("Files/Starter/" + name)));
        window_ = MakeTestWindow(executable_.path(), dialogs_);
    }
    void TearDown() override { RecentSkins().Clear(); }

    EditingSession& Session() { return window_->Session(); }
    QString Working(const QString& name) const { return executable_.filePath("Temp/" + name); }
    QRgb PreviewAt(int x, int y) { return Session().Surface().pixel(x, y); }
    void Open(const TestSkin& skin)
    {
        dialogs_->fileAnswers.push_back(skin.DescriptionPath());
        window_->Open1Click();
        ASSERT_TRUE(dialogs_->errors.empty()) << dialogs_->errors[0].text.toStdString();
    }
    QStringList RecentCaptions()
    {
        auto* menu = window_->findChild<QMenu*>("Openrecent1");
        emit menu->aboutToShow();
        QStringList captions;
        for (QAction* action : menu->actions())
            if (!action->isSeparator())
                captions << action->text();
        return captions;
    }
    static void Drop(QWidget* target, QPoint at, const QString& path)
    {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &move);
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &drop);
    }

    QTemporaryDir executable_;
    ScriptedDialogs* dialogs_ = nullptr;
    std::unique_ptr<TestWindow> window_;
};

TEST_F(SkinFilesTest, NewSkinWritesTheSixteenStarterFilesIntoAnEmptyOrNewFolderAndOpensThem)
{
    QTemporaryDir parent;
    for (const QString& folder : {parent.path(), parent.filePath("fresh")}) {
        dialogs_->fileAnswers.push_back(folder);
        window_->Newskin1Click();
        ASSERT_TRUE(dialogs_->errors.empty()) << dialogs_->errors[0].text.toStdString();
        EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(), 16);
        for (const QString& name : QDir(ExampleSkin).entryList(QDir::Files))
            EXPECT_EQ(ReadAll(folder + "/" + name), ReadAll(ExampleSkin + "/" + name)) << name.toStdString();
        EXPECT_TRUE(Session().Document().SkinLoaded);
        EXPECT_EQ(ReadAll(Working("Ruvex.rvk")), ReadAll(ExampleSkin + "/Ruvex.rvk"));
        EXPECT_EQ(RecentSkins().Entries().value(0), QDir(folder).filePath("Ruvex.rvk"));
    }
    EXPECT_EQ(dialogs_->fileRequests.back().dialog, "NewSkinDialog");
}

TEST_F(SkinFilesTest, NewSkinRefusesAFolderWithASkinFileAndLeavesItAsItWas)
{
    QTemporaryDir folder;
    WriteGifFile(folder.filePath("3.gif"), SolidGif(4, 3, qRgb(1, 2, 3)));
    QFile(folder.filePath("notes.txt")).open(QIODevice::WriteOnly);
    const auto before = FolderState(folder.path());

    dialogs_->fileAnswers.push_back(folder.path());
    window_->Newskin1Click();
    ASSERT_EQ(dialogs_->errors.size(), 1u);
    EXPECT_EQ(dialogs_->errors[0].text.toStdString(),
              ("The folder \"" + folder.path()
               + "\" already holds \"3.gif\"; a new skin needs a folder without Ruvex.rvk and 0.gif to 14.gif.")
                  .toStdString());
    EXPECT_EQ(FolderState(folder.path()), before);
    EXPECT_FALSE(Session().Document().SkinLoaded);
    EXPECT_TRUE(RecentSkins().Entries().isEmpty());
}

TEST_F(SkinFilesTest, OpenRecentListsNewestFirstAndDropsASkinWhoseFolderIsGone)
{
    auto older = std::make_unique<TestSkin>();
    TestSkin newer;
    older->WriteComplete();
    newer.WriteComplete();
    Open(*older);
    Open(newer);
    Open(*older);
    Open(newer);
    const QString olderFile = older->DescriptionPath();
    EXPECT_EQ(RecentSkins().Entries(), (QStringList{newer.DescriptionPath(), olderFile}));
    EXPECT_EQ(RecentCaptions(), (QStringList{newer.Dir(), older->Dir(), "Clear list"}));

    older.reset(); // its folder is gone
    window_->OpenRecent(olderFile);
    ASSERT_EQ(dialogs_->warnings.size(), 1u);
    EXPECT_EQ(dialogs_->warnings[0].text,
              "The skin folder \"" + QFileInfo(olderFile).absolutePath() + "\" is gone. It was removed from the recent list.");
    EXPECT_TRUE(dialogs_->errors.empty());
    EXPECT_EQ(RecentCaptions(), (QStringList{newer.Dir(), "Clear list"}));
    EXPECT_EQ(Session().Document().SkinFileName, Working("Ruvex.rvk")); // the open skin stays

    window_->findChild<QAction*>("Clearlist1")->trigger();
    EXPECT_EQ(RecentCaptions(), QStringList{"Clear list"});
}

TEST_F(SkinFilesTest, AGarbledRecentListNeverFailsAndKeepsEightAtMost)
{
    QSettings().setValue("RecentSkins", 42);
    window_ = MakeTestWindow(executable_.path(), dialogs_);
    EXPECT_EQ(RecentCaptions(), QStringList{"Clear list"});
    QSettings().setValue("RecentSkins", QStringList{"", "/a/Ruvex.rvk", "/a/Ruvex.rvk", "/b/Ruvex.rvk"});
    EXPECT_EQ(RecentSkins().Entries(), (QStringList{"/a/Ruvex.rvk", "/b/Ruvex.rvk"}));
    for (int n = 0; n < 10; ++n)
        RecentSkins().Add(QString("/skin%1/Ruvex.rvk").arg(n));
    EXPECT_EQ(RecentSkins().Entries().size(), RecentSkins::MaxEntries);
    EXPECT_EQ(RecentSkins().Entries().front(), "/skin9/Ruvex.rvk");
    EXPECT_TRUE(dialogs_->errors.empty());
}

TEST_F(SkinFilesTest, DropsOpenASkinFolderAndReplaceThePictureOfAnEntryAsOneStep)
{
    TestSkin skin;
    skin.WriteComplete();
    Drop(window_.get(), QPoint(300, 100), skin.Dir());
    ASSERT_TRUE(dialogs_->errors.empty()) << dialogs_->errors[0].text.toStdString();
    EXPECT_TRUE(Session().Document().SkinLoaded);
    EXPECT_EQ(RecentSkins().Entries().value(0), skin.DescriptionPath());

    QTemporaryDir elsewhere;
    const QString star = elsewhere.filePath("star.gif");
    WriteGifFile(star, SolidGif(4, 3, qRgb(250, 200, 0)));
    auto* list = window_->findChild<QListWidget*>("ImgListBox");
    window_->show();
    list->window()->findChild<QTabWidget*>()->setCurrentIndex(1);
    const QPoint random = list->visualItemRect(list->item(12)).center();
    Drop(list->viewport(), random, star);
    ASSERT_TRUE(dialogs_->errors.empty()) << dialogs_->errors[0].text.toStdString();
    EXPECT_EQ(ReadAll(Working("12.gif")), ReadAll(star));
    EXPECT_EQ(PreviewAt(11, 101), qRgb(250, 200, 0));
    EXPECT_EQ(Session().History().count(), 1);
    EXPECT_EQ(list->currentRow(), 12);
}

TEST_F(SkinFilesTest, EditExternallyOpensTheWorkingCopysPictureNeverTheSkinsOwn)
{
    TestSkin skin;
    skin.WriteComplete();
    Open(skin);
    auto* list = window_->findChild<QListWidget*>("ImgListBox");
    list->setCurrentRow(12);
    // Stands in for the desktop's program: records the address it is asked to open.
    QTextBrowser program;
    QDesktopServices::setUrlHandler("file", &program, "setSource");
    window_->findChild<QAction*>("EditExternally1")->trigger();
    QDesktopServices::unsetUrlHandler("file");
    EXPECT_EQ(program.source(), QUrl::fromLocalFile(Working("12.gif")));
    EXPECT_TRUE(dialogs_->errors.empty() && dialogs_->warnings.empty());
}

TEST_F(SkinFilesTest, APictureRenamedOverTheWorkingCopyIsShownWithinASecond)
{
    TestSkin skin;
    skin.WriteComplete();
    Open(skin);
    ASSERT_EQ(PreviewAt(11, 101), TestPictureColor(12));
    QSignalSpy changes(&Session(), &EditingSession::Changed);

    WriteByRename(Working("12.gif"), [](const QString& path) { WriteGifFile(path, SolidGif(4, 3, qRgb(0, 90, 250))); });
    EXPECT_TRUE(QTest::qWaitFor([&] { return PreviewAt(11, 101) == qRgb(0, 90, 250); }, 1000));
    // A step of its own, so that undo goes back through it rather than over it.
    EXPECT_EQ(Session().History().count(), 1);
    EXPECT_EQ(Session().History().undoText(), "12.gif changed on disk");
    EXPECT_TRUE(Session().IsModified());
    EXPECT_EQ(changes.count(), 1);

    // Painted again: the new file is watched as well.
    WriteByRename(Working("12.gif"), [](const QString& path) { WriteGifFile(path, SolidGif(4, 3, qRgb(9, 9, 9))); });
    EXPECT_TRUE(QTest::qWaitFor([&] { return PreviewAt(11, 101) == qRgb(9, 9, 9); }, 1000));

    // The editor's own writes are no external change.
    QTemporaryDir elsewhere;
    WriteGifFile(elsewhere.filePath("a.gif"), SolidGif(4, 3, qRgb(200, 0, 0)));
    Session().ReplacePicture(12, elsewhere.filePath("a.gif"));
    Session().Undo();
    const int afterOwnWrites = changes.count();
    QTest::qWait(3 * PictureWatch::SettleMs);
    EXPECT_EQ(changes.count(), afterOwnWrites);
    EXPECT_EQ(PreviewAt(11, 101), qRgb(9, 9, 9));
    EXPECT_TRUE(dialogs_->errors.empty());
}

TEST_F(SkinFilesTest, ABrokenPictureRenamedOverIsReportedOnceAndTheFormerOneStays)
{
    TestSkin skin;
    skin.WriteComplete();
    Open(skin);
    const std::string former = ReadAll(Working("12.gif"));

    WriteByRename(Working("12.gif"), [](const QString& path) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("GIF89a and nothing else");
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return !dialogs_->errors.empty(); }, 1000));
    QTest::qWait(3 * PictureWatch::SettleMs);
    ASSERT_EQ(dialogs_->errors.size(), 1u);
    EXPECT_TRUE(dialogs_->errors[0].text.startsWith("Cannot read picture \"" + Working("12.gif") + "\". "))
        << dialogs_->errors[0].text.toStdString();
    EXPECT_EQ(ReadAll(Working("12.gif")), former);
    EXPECT_EQ(PreviewAt(11, 101), TestPictureColor(12));
    EXPECT_EQ(Session().History().count(), 0);
    EXPECT_FALSE(QFileInfo::exists(skin.Path("12.gif") + ".saving")); // the skin's own folder untouched
    EXPECT_EQ(ReadAll(skin.Path("12.gif")), former);
}

} // namespace
