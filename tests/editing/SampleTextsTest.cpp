// The sample texts are the preview's: changing them draws again and touches nothing
// of the skin, neither its files nor its history.
#include "EditingSession.h"

#include "GifWriter.h"
#include "SampleTextSets.h"
#include "TestSkin.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

namespace {

std::map<QString, QByteArray> FolderBytes(const QString& folder)
{
    std::map<QString, QByteArray> bytes;
    for (const QFileInfo& file : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden)) {
        QFile read(file.filePath());
        EXPECT_TRUE(read.open(QIODevice::ReadOnly)) << file.filePath().toStdString();
        bytes[file.fileName()] = read.readAll();
    }
    return bytes;
}

} // namespace

TEST(SampleTexts, NeverReachTheSkinsFilesNorItsHistory)
{
    QTemporaryDir executable;
    QDir(executable.path()).mkpath("Files");
    WriteGifFile(executable.filePath("Files/statusline.gif"), SolidGif(176, 12, qRgb(40, 40, 40)));
    const QString asset = executable.filePath("Files/LangRuvex.txt");
    {
        QFile texts(asset);
        ASSERT_TRUE(texts.open(QIODevice::WriteOnly));
        texts.write("03/12\r\nList\r\nArtist\r\nTitle\r\nAlbum\r\n3:45\r\n1:02\r\n-2:43\r\nMenu\r\nBack\r\n");
    }
    const QByteArray assetBytes = FolderBytes(executable.filePath("Files"))["LangRuvex.txt"];
    const QString folder = executable.path() + "/";
    EditingSession session([folder] { return folder; });
    session.LoadAssets();
    TestSkin skin;
    skin.WriteComplete();
    session.Open(skin.DescriptionPath());

    // An edit, saved as and autosaved: the skin's files as they are before the texts change.
    const ElementRef artist{SkinCategory::Strings, "Artist"};
    session.StoreElement(artist, ItemValues{30, 40, 0, 0, 17, 2, 2, "0xFFFFFF00"}, 0);
    session.Commit();
    QTemporaryDir before;
    session.SaveAs(before.filePath("Ruvex.rvk"));
    session.Autosave();
    const QString workingCopy = QFileInfo(session.Document().SkinFileName).absolutePath();
    const auto workingBytes = FolderBytes(workingCopy);
    const QImage shipped = session.Surface().copy();

    session.SetSampleTexts(LongSampleTexts());
    EXPECT_NE(session.Surface(), shipped); // drawn with them at once
    EXPECT_EQ(session.History().count(), 1);
    EXPECT_FALSE(session.IsModified());
    session.Undo(); // of the skin only
    EXPECT_EQ(session.SampleTexts(), LongSampleTexts());
    session.Redo();
    session.Autosave();
    QTemporaryDir after;
    session.SaveAs(after.filePath("Ruvex.rvk"));

    EXPECT_EQ(FolderBytes(after.path()), FolderBytes(before.path()));
    EXPECT_EQ(FolderBytes(workingCopy), workingBytes);
    EXPECT_EQ(FolderBytes(executable.filePath("Files"))["LangRuvex.txt"], assetBytes);
    EXPECT_EQ(session.History().count(), 1);

    // Back to the asset's lines: the same drawing as before.
    session.SetSampleTexts(std::nullopt);
    EXPECT_EQ(session.Surface(), shipped);
}
