#include "EditingSession.h"

#include "ElementValues.h"
#include "GifWriter.h"
#include "PreviewRenderer.h"
#include "SampleTextSets.h"
#include "SkinChecker.h"
#include "SkinError.h"
#include "SkinLoader.h"
#include "TestSkin.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>
#include <utility>


namespace {

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
    EXPECT_EQ(session->History().undoText(), "Artist: X 88 \u2192 140"); // the first value and the last
    values.X = 88; // typed back: the step is gone
    session->StoreElement(artist, values, 0);
    EXPECT_EQ(session->History().count(), 0);
    EXPECT_EQ(Line("Artist"), before);
    EXPECT_FALSE(session->IsModified());
}

TEST_F(EditingSessionTest, APictureTheOpenedSkinLacksIsUsedFromTheWorkingCopyAndSaidSo)
{
    TestSkin lacking;
    lacking.WriteComplete();
    QFile::remove(lacking.Path("12.gif"));
    session->Open(lacking.DescriptionPath());
    const auto problems = CheckDocument(session->Document());
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(ProblemLine(problems[0]), "12.gif: not in the opened skin; the working copy's earlier picture is used");

    // Replaced, it is the skin's own; undone, it is the borrowed one again.
    QTemporaryDir elsewhere;
    WriteGifFile(elsewhere.filePath("star.gif"), SolidGif(6, 5, qRgb(250, 200, 0)));
    session->ReplacePicture(12, elsewhere.filePath("star.gif"));
    EXPECT_TRUE(CheckDocument(session->Document()).empty());
    session->Undo();
    EXPECT_EQ(CheckDocument(session->Document()).size(), 1u);
    session->Open(skin.DescriptionPath());
    EXPECT_TRUE(CheckDocument(session->Document()).empty());
}

// A description file that gives no line fails at its first key; the message says why
// before the list error, and the Problems page leads with the same reason.
TEST_F(EditingSessionTest, ADescriptionWithoutALineSaysWhyBeforeTheListError)
{
    const std::pair<std::string, std::string> cases[] = {
        {"", "Ruvex.rvk: the file is empty"},
        {std::string("\0TrackNumber = 1 2 20 1 255 0x00000000 0x000000FF\r\n", 51),
         "Ruvex.rvk:1: a NUL byte ends the text at its first byte"},
    };
    for (const auto& [bytes, reason] : cases) {
        TestSkin bare;
        bare.WriteComplete();
        bare.WriteBytes("Ruvex.rvk", bytes);
        try {
            session->Open(bare.DescriptionPath());
            ADD_FAILURE() << reason << ": opened without an error";
        } catch (const SkinError& error) {
            EXPECT_EQ(std::string(error.what()), reason + ". List index out of bounds (-1)");
        }
        const auto problems = CheckDocument(session->Document());
        ASSERT_FALSE(problems.empty());
        EXPECT_EQ(ProblemLine(problems[0]).substr(0, 25), reason.substr(0, 25)) << reason;
    }
}

// A line rewritten as text may come to belong to another key, or read a picture's
// place, which the pictures without a line after it take: each change is read as a
// whole parse of the lines reads it.
TEST_F(EditingSessionTest, TheModelIsWhatAWholeParseReadsAfterEveryKindOfLineChange)
{
    const auto expectParsed = [&](const char* what) {
        TSkinModel parsed;
        ParseSkinInto(session->Document().Lines, parsed);
        EXPECT_EQ(session->Document().Model, parsed) << what;
    };
    const SkinLines& lines = session->Document().Lines;
    const int play = lines.FindKey("Play");
    session->ReplaceLineText(play, "Artist = 3 4 17 2 2 0x00FF0000 0x000000FF");
    expectParsed("a picture's line made a text's line");
    session->ReplaceLineText(play, "Play = 5 6");
    expectParsed("and back");
    session->StoreElementsLive({{{SkinCategory::Pictures, "Play"}, ItemValues{30, 31}},
                                {{SkinCategory::Strings, "Album"}, ItemValues{7, 8, 0, 0, 17, 2, 2, "0xFFFFFF00"}},
                                {{SkinCategory::Objects, "VolumeBar"}, ItemValues{9, 10, 50, 5, 0, 0, 0, "0x00FF0000"}}});
    expectParsed("a picture, a text and an object dragged");
    session->CancelLive();
    expectParsed("the drag cancelled");
    session->Undo();
    expectParsed("an undo");
}

} // namespace

namespace {

// Every file of the working copy, with the lines written out first.
std::map<QString, QByteArray> WorkingFiles(EditingSession& session)
{
    session.Autosave();
    const QDir folder = QFileInfo(session.Document().SkinFileName).dir();
    std::map<QString, QByteArray> files;
    for (const QString& name : folder.entryList(QDir::Files)) {
        QFile file(folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        files[name] = file.readAll();
    }
    return files;
}

TEST(ColorReplace, OneStepEverywhereThatUndoPutsBackByteForByte)
{
    QTemporaryDir executable;
    const QString folder = executable.path() + "/";
    EditingSession session([folder] { return folder; });
    session.Open(QStringLiteral(VELLUMARK_SOURCE_DIR "/examples/skins/harbour/Ruvex.rvk"));
    const auto before = WorkingFiles(session);
    ASSERT_EQ(before.size(), 16u);
    std::vector<int> changedPictures;
    QObject::connect(&session, &EditingSession::Changed,
                     [&](const SkinChange& change) { changedPictures = change.pictures; });

    session.ReplaceColor(qRgb(0x1A, 0x2A, 0x40), qRgb(0x40, 0x20, 0x1A));
    EXPECT_EQ(session.History().undoText(), "Replace #1A2A40 with #40201A");
    // Teal is ProgressBar's and seven pictures': one step rewrites all of them.
    session.ReplaceColor(qRgb(0x2E, 0x8B, 0x9A), qRgb(0x9A, 0x2E, 0x8B));
    EXPECT_EQ(session.History().count(), 2);
    EXPECT_EQ(changedPictures, (std::vector<int>{0, 1, 7, 8, 9, 10, 11}));
    const auto after = WorkingFiles(session);
    const auto palette = session.Palette();
    EXPECT_EQ(palette[1].color, qRgb(0x9A, 0x2E, 0x8B));
    EXPECT_EQ(palette[1].Uses().substr(0, 24), "ProgressBar; 0.gif 352 p");
    for (const auto& [name, bytes] : after)
        EXPECT_EQ(bytes.size(), before.at(name).size()) << name.toStdString();
    EXPECT_NE(after.at("Ruvex.rvk").indexOf("0x40201A00"), -1);
    EXPECT_NE(after.at("Ruvex.rvk").indexOf("0x9A2E8B00"), -1);

    session.Undo();
    session.Undo();
    EXPECT_EQ(WorkingFiles(session), before);
    session.Redo();
    session.Redo();
    EXPECT_EQ(WorkingFiles(session), after);
    // A colour the skin does not use makes no step.
    session.ReplaceColor(qRgb(1, 2, 3), qRgb(4, 5, 6));
    EXPECT_EQ(session.History().count(), 2);

    // An edition saved elsewhere: all sixteen files, and the open skin as it was.
    QTemporaryDir elsewhere;
    session.SaveRecoloredAs({{qRgb(0x9A, 0x2E, 0x8B), qRgb(0x2E, 0x8B, 0x9A)}}, elsewhere.path());
    EXPECT_EQ(WorkingFiles(session), after);
    EXPECT_EQ(QDir(elsewhere.path()).entryList(QDir::Files).size(), 16);
    QFile saved(elsewhere.filePath("8.gif"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), before.at("8.gif"));
}

} // namespace

// A drawing after an element's change paints only where that element was or is now:
// random changes of every kind of element, undone and redone, with the sample texts
// and settings changed and a line broken and mended now and then; each drawing is
// checked against a whole drawing over the last one. A place left out of what is
// painted again would show here.
TEST_F(EditingSessionTest, ADrawingOfWhatChangedPaintsWhatAWholeDrawingPaints)
{
    std::mt19937 random(1);
    const auto pick = [&](int from, int to) { return std::uniform_int_distribution<int>(from, to)(random); };
    std::vector<ElementRef> elements;
    for (SkinCategory category : {SkinCategory::Strings, SkinCategory::Pictures, SkinCategory::Objects})
        for (const char* key : ElementKeys(category))
            elements.push_back({category, key});
    QImage whole = session->Surface().copy();
    std::vector<DrawnElement> drawn;
    std::optional<std::pair<int, std::string>> broken; // a line that does not parse, and its bytes before
    // The broken line's error, which every change reports while it stands, is expected.
    const auto reporting = [](auto&& change) {
        try {
            change();
        } catch (const SkinError&) {
        }
    };
    int drawings = 0;
    QObject::connect(session.get(), &EditingSession::PreviewDrawn, [&drawings] { ++drawings; });
    const char* colors[] = {"0xFFFFFF00", "0x10204000", "0xE0301000", "0x00FF0000"};
    for (int step = 0; step < 3000; ++step) {
        const int what = broken && pick(0, 3) != 0 ? 5 : pick(0, 19); // while broken, element changes
        if (what == 0) {
            reporting([&] { session->Undo(); });
        } else if (what == 1) {
            reporting([&] { session->Redo(); });
        } else if (what == 2) {
            const std::optional<TextLines> texts[] = {std::nullopt, LongSampleTexts(), ShortSampleTexts()};
            reporting([&] { session->SetSampleTexts(texts[pick(0, 2)]); });
        } else if (what == 4 || (broken && what < 4)) {
            // A line broken, changes made while nothing is drawn, then the line mended.
            if (broken) {
                reporting([&] { session->ReplaceLineText(broken->first, broken->second); });
                broken.reset();
            } else {
                const ElementRef& element = elements[static_cast<std::size_t>(pick(0, static_cast<int>(elements.size()) - 1))];
                const int index = session->Document().Lines.FindKey(element.key);
                broken = std::pair(index, session->Document().Lines.Line(index));
                reporting([&] { session->ReplaceLineText(index, element.key + " = z"); });
            }
        } else if (what == 3) {
            PreviewSettings settings = session->Settings();
            settings.playState = pick(0, 4);
            settings.repetition = pick(0, 1);
            reporting([&] { session->SetSettings(settings); });
        } else {
            const ElementRef& element = elements[static_cast<std::size_t>(pick(0, static_cast<int>(elements.size()) - 1))];
            if (broken && session->Document().Lines.FindKey(element.key) == broken->first)
                continue; // its values do not read
            reporting([&] {
                ItemValues values = ReadElementValues(session->Document().Lines, element.category, element.key);
                values.X = pick(-30, 190);
                values.Y = pick(-30, 230);
                values.W = pick(0, 80);
                values.H = pick(0, 60);
                values.Anchor = pick(0, 3) == 0 ? pick(0, 64) : values.Anchor;
                values.FontId = pick(0, 3) == 0 ? pick(0, 15) : values.FontId;
                values.StyleCode = pick(0, 3) == 0 ? pick(0, 4) : values.StyleCode;
                values.Color = pick(0, 2) == 0 ? colors[pick(0, 3)] : values.Color;
                session->StoreElement(element, values, pick(0, 2));
            });
        }
        // Drawn or not, as the session drew: a step it did not draw leaves the oracle too.
        if (std::exchange(drawings, 0) == 0)
            continue;
        drawn.clear();
        DrawPreview(whole, session->Document().Model, session->Document().Pictures, session->SampleTexts(),
                    session->Settings(), &drawn);
        ASSERT_EQ(session->Surface(), whole) << "step " << step;
        ASSERT_EQ(session->DrawnElements(), drawn) << "step " << step;
    }
}
