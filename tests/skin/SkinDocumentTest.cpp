#include "GifWriter.h"
#include "SkinDocument.h"
#include "SkinError.h"
#include "SkinLoader.h"
#include "TestSkin.h"

#include <gtest/gtest.h>

#include <random>
#include <regex>

namespace {

QString Gif(int n)
{
    return PictureFileName(n);
}

TEST(LoadSkin, ReadsTheLinesEveryPictureAndParses)
{
    TestSkin skin;
    skin.WriteComplete();
    SkinDocument doc;
    LoadSkin(doc, skin.DescriptionPath());
    EXPECT_TRUE(doc.SkinLoaded);
    EXPECT_EQ(doc.Lines.Lines(), ReferenceSkinLines());
    for (int n = 0; n < SkinPictureCount; ++n) {
        ASSERT_FALSE(doc.Pictures[n].isNull()) << n;
        EXPECT_EQ(doc.Pictures[n].pixel(0, 0), TestPictureColor(n)) << n;
    }
    EXPECT_TRUE(doc.Pictures[StatusLineSlot].isNull());
}

TEST(LoadSkin, AMissingPictureKeepsTheSlotsEarlierPicture)
{
    TestSkin first, second;
    first.WriteComplete();
    second.WriteDescription(ReferenceSkinLines());
    WriteGifFile(second.Path(Gif(3)), SolidGif(2, 2, qRgb(1, 2, 3)));
    SkinDocument doc;
    LoadSkin(doc, first.DescriptionPath());
    LoadSkin(doc, second.DescriptionPath());
    EXPECT_EQ(doc.Pictures[3].pixel(0, 0), qRgb(1, 2, 3));
    EXPECT_EQ(doc.Pictures[8].pixel(0, 0), TestPictureColor(8));
}

TEST(LoadSkin, AnUndecodablePictureStopsTheLoadInLoadOrder)
{
    TestSkin first, second;
    first.WriteComplete();
    second.WriteDescription({"Artist = 1 2 20 1 255 0x0 0x0"});
    for (int n = 0; n < SkinPictureCount; ++n)
        WriteGifFile(second.Path(Gif(n)), SolidGif(2, 2, qRgb(9, 9, 9)));
    second.WriteBytes(Gif(3), "broken");   // load order: 0 1 2 7 3 8 ...

    SkinDocument doc;
    LoadSkin(doc, first.DescriptionPath());
    const TSkinModel model = doc.Model;
    EXPECT_THROW(LoadSkin(doc, second.DescriptionPath()), SkinError);
    EXPECT_EQ(doc.Lines.Count(), 1);                       // the new lines are in
    EXPECT_EQ(doc.Model, model);                           // but were not parsed
    EXPECT_EQ(doc.Pictures[7].pixel(0, 0), qRgb(9, 9, 9)); // loaded before 3.gif
    EXPECT_EQ(doc.Pictures[3].pixel(0, 0), TestPictureColor(3));
    EXPECT_EQ(doc.Pictures[8].pixel(0, 0), TestPictureColor(8));
}

TEST(LoadSkin, AnUnreadableDescriptionChangesNothing)
{
    TestSkin skin;
    skin.WriteComplete();
    SkinDocument doc;
    LoadSkin(doc, skin.DescriptionPath());
    TestSkin empty;
    try {
        LoadSkin(doc, empty.DescriptionPath());
        FAIL();
    } catch (const SkinError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot open file \"" + empty.DescriptionPath().toStdString() + "\". No such file or directory");
    }
    EXPECT_EQ(doc.Lines.Lines(), ReferenceSkinLines());
}

TEST(LoadSkin, LineEndsOfAnyKindAndUnterminatedFilesReadTheSame)
{
    TestSkin crlf, lf;
    crlf.WriteComplete();
    std::string text;
    for (const auto& line : ReferenceSkinLines())
        text += line + "\n";
    text.pop_back();
    lf.WriteBytes("Ruvex.rvk", text);
    SkinDocument a, b;
    LoadSkin(a, crlf.DescriptionPath());
    LoadSkin(b, lf.DescriptionPath());
    EXPECT_EQ(a.Lines.Lines(), b.Lines.Lines());
    EXPECT_EQ(a.Model, b.Model);
}

// Any bytes as a description file end in a clean parse or one of the known messages.
TEST(LoadSkin, ArbitraryDescriptionBytesEndInACleanParseOrAKnownError)
{
    const std::regex known(R"(List index out of bounds \(-1\)|Ruvex\.rvk:\d+: "[A-Za-z]+": '[\s\S]*' is not a valid integer value)");
    const std::string reference = JoinCrLf(ReferenceSkinLines());
    std::mt19937 random(5);
    TestSkin skin;
    SkinDocument doc;
    int parsed = 0;
    for (int round = 0; round < 400; ++round) {
        std::string bytes;
        if (round % 2 == 0) {
            bytes = reference;
            for (int k = 0; k < 1 + round % 9; ++k)
                bytes[random() % bytes.size()] = static_cast<char>(random());
        } else {
            bytes.resize(random() % 400);
            for (auto& c : bytes)
                c = static_cast<char>(random());
        }
        skin.WriteBytes("Ruvex.rvk", bytes);
        try {
            LoadSkin(doc, skin.DescriptionPath());
            ++parsed;
        } catch (const SkinError& e) {
            EXPECT_TRUE(std::regex_match(std::string(e.what()), known)) << e.what();
        }
    }
    EXPECT_GT(parsed, 0);
}

} // namespace
