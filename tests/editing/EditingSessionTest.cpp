#include "EditingSession.h"

#include "GifWriter.h"
#include "SkinLoader.h"
#include "TestSkin.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

namespace {

std::string ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "<missing>";
}

class EditingSessionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString folder = executable.path() + "/";
        session = std::make_unique<EditingSession>([folder] { return folder; });
        skin.WriteComplete();
        session->Open(skin.DescriptionPath());
    }

    const std::vector<std::string>& Lines() const { return session->Document().Lines.Lines(); }
    std::string Line(const std::string& key) const
    {
        const SkinLines& lines = session->Document().Lines;
        return lines.Line(lines.FindKey(key));
    }

    QTemporaryDir executable;
    TestSkin skin;
    std::unique_ptr<EditingSession> session;
};

TEST_F(EditingSessionTest, UndoingEveryStepOfARandomEditRestoresTheLinesAndRedoingReturnsToTheEnd)
{
    const std::vector<std::string> opened = Lines();
    const std::vector<ElementRef> elements = {{SkinCategory::Strings, "Artist"},  {SkinCategory::Strings, "Title "},
                                              {SkinCategory::Pictures, "Play"},   {SkinCategory::Pictures, "Random"},
                                              {SkinCategory::Objects, "Background"}, {SkinCategory::Objects, "VolumeBar"}};
    std::mt19937 random(7);
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    for (int edit = 0; edit < 300; ++edit) {
        if (pick(4) == 0)
            session->EndMerge();
        ItemValues values{pick(200) - 20, pick(240) - 20, pick(176), pick(220), 17, 1 + pick(3), 255, "0x12345600"};
        if (pick(3) == 0)
            values.Color = "0xAB" + std::to_string(100000 + edit);
        session->StoreElement(elements[static_cast<std::size_t>(pick(6))], values, pick(3));
    }
    const std::vector<std::string> edited = Lines();
    ASSERT_GT(session->History().count(), 20);

    while (session->History().canUndo())
        session->Undo();
    EXPECT_EQ(Lines(), opened);
    while (session->History().canRedo())
        session->Redo();
    EXPECT_EQ(Lines(), edited);
}

TEST_F(EditingSessionTest, WriteBacksMergeWhileInOneControlAndLeaveNoStepWhenBackWhereTheyStarted)
{
    const std::string before = Line("Artist");
    const ElementRef artist{SkinCategory::Strings, "Artist"};
    ItemValues values{88, 40, 0, 0, 17, 2, 2, "0xFFFFFF00"};
    for (int x : {1, 14, 140, 140}) { // typing "140", the last write-back changing nothing
        values.X = x;
        session->StoreElement(artist, values, 0);
    }
    EXPECT_EQ(session->History().count(), 1);
    EXPECT_EQ(session->History().undoText(), "Artist");
    values.X = 88; // typed back: the step is gone
    session->StoreElement(artist, values, 0);
    EXPECT_EQ(session->History().count(), 0);
    EXPECT_EQ(Line("Artist"), before);
    EXPECT_FALSE(session->IsModified());
}

TEST_F(EditingSessionTest, AReplacedPictureUndoneAndRedoneRestoresTheFileBytes)
{
    const QString working = executable.filePath("Temp/12.gif");
    const std::string former = ReadAll(working);
    QTemporaryDir elsewhere;
    const QString chosen = elsewhere.filePath("star.gif");
    WriteGifFile(chosen, SolidGif(6, 5, qRgb(250, 200, 0)));

    session->ReplacePicture(12, chosen);
    ASSERT_EQ(session->History().count(), 1);
    EXPECT_EQ(ReadAll(working), ReadAll(chosen));
    EXPECT_EQ(session->Document().Pictures[12].size(), QSize(6, 5));

    session->Undo();
    EXPECT_EQ(ReadAll(working), former);
    EXPECT_EQ(session->Document().Pictures[12].size(), QSize(4, 3));
    session->Redo();
    EXPECT_EQ(ReadAll(working), ReadAll(chosen));
    EXPECT_EQ(session->Document().Pictures[12].size(), QSize(6, 5));
}

} // namespace
