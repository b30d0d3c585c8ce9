// The skin checker's rules at their edges; the command's test covers one broken
// skin per kind of problem end to end.
#include "SkinFolderCheck.h"
#include "SkinError.h"

#include "SkinError.h"
#include "SkinLoader.h"
#include "TestSkin.h"

#include <QFile>

#include <algorithm>
#include <ostream>
#include <functional>

#include <gtest/gtest.h>

// Readable failures: the line as check prints it and where the problem is.
void PrintTo(const SkinProblem& problem, std::ostream* out)
{
    *out << ProblemLine(problem) << " [" << static_cast<int>(problem.category) << " \"" << problem.key << "\" field "
         << (problem.field ? static_cast<int>(*problem.field) : -1) << " picture " << problem.picture << "]";
}

namespace {

PictureSizes AllSizes(QSize size)
{
    PictureSizes sizes;
    sizes.fill(size);
    return sizes;
}

// The problems of the reference skin with line lineNumber (1-based) replaced.
std::vector<std::string> ProblemsWith(int lineNumber, const std::string& text, const PictureSizes& sizes = AllSizes({4, 3}))
{
    TextLines lines = ReferenceSkinLines();
    lines[static_cast<std::size_t>(lineNumber - 1)] = text;
    std::vector<std::string> out;
    for (const SkinProblem& problem : CheckDescription(lines, sizes))
        out.push_back(ProblemLine(problem));
    return out;
}

TEST(SkinChecker, ReferenceSkinIsClean)
{
    EXPECT_TRUE(CheckDescription(ReferenceSkinLines(), AllSizes({4, 3})).empty());
}

// Whether a text item's anchor point keeps the text on the screen depends on the side
// of the point the text lies on.
TEST(SkinChecker, TextAnchorPointAgainstTheScreenEdges)
{
    const struct {
        int x, y, anchor;
        bool outside;
    } cases[] = {
        {0, 0, 20, false},    {175, 219, 20, false}, {176, 10, 20, true},  {10, 220, 20, true},  {-1, 10, 20, true},
        {176, 220, 40, false}, {0, 10, 24, true},    {1, 10, 24, false},   {177, 10, 24, true},  {10, 0, 36, true},
        {0, 10, 17, true},    {1, 1, 3, false},      {175, 219, 3, false}, {176, 10, 3, true},   {10, 220, 6, true},
        {10, 219, 68, false}, {10, 220, 65, true},   {176, 10, 99, true},  {175, 10, 99, false}, {10, 0, 33, true},
    };
    for (const auto& c : cases) {
        const std::string line = "Album = " + std::to_string(c.x) + " " + std::to_string(c.y) + " "
                                 + std::to_string(c.anchor) + " 1 1 0x0000FF00 0x000000FF";
        bool outside = false;
        for (const std::string& problem : ProblemsWith(5, line))
            outside = outside || problem.find("puts the text outside") != std::string::npos;
        EXPECT_EQ(outside, c.outside) << line;
    }
}

TEST(SkinChecker, EachPictureOfAPositionIsPlacedAtItsOwnSize)
{
    PictureSizes sizes = AllSizes({4, 3});
    sizes[3] = QSize(26, 22);    // Play disabled ends exactly at the screen's corner
    sizes[8] = QSize(27, 22);    // Play enabled one pixel further
    sizes[5] = std::nullopt;     // Stop disabled broken: not placed
    EXPECT_EQ(ProblemsWith(16, "Play = 150 198 20", sizes),
              std::vector<std::string>{"Ruvex.rvk:16: \"Play\": 8.gif lies partly outside the 176x220 screen: 27x22 at (150, 198)"});
    EXPECT_EQ(ProblemsWith(18, "Stop = 175 180 20", sizes),
              std::vector<std::string>{"Ruvex.rvk:18: \"Stop\": 10.gif lies partly outside the 176x220 screen: 4x3 at (175, 180)"});
}

TEST(SkinChecker, OneLineCanHoldSeveralProblemsInWordOrder)
{
    EXPECT_EQ(ProblemsWith(3, "Artist = 8a 40\t 0x"),
              (std::vector<std::string>{"Ruvex.rvk:3: \"Artist\": x \"8a\" is not a number",
                                        "Ruvex.rvk:3: \"Artist\": anchor \"0x\" is not a number",
                                        "Ruvex.rvk:3: \"Artist\": missing font id, style code, colour and second colour"}));
    EXPECT_EQ(ProblemsWith(32, "StatusLine = 1 x"),
              std::vector<std::string>{"Ruvex.rvk:32: \"StatusLine\": extra word after its 1 value: \"x\""});
}

TEST(SkinChecker, WhatTheEditorReadsWithoutHarmIsNoProblem)
{
    const std::pair<int, std::string> harmless[] = {
        {10, "   \t"},                              // blank line
        {10, "  ; an indented comment"},
        {16, "Play = $37 x0B4 20"},                  // hexadecimal numbers
        {16, "Play =\t55   180\t20  "},              // TAB after "=", runs of delimiters
        {3, "Artist = 88 40 17 2 2 0xffffff00 0x000000FF"}, // lower-case digits
        {32, "StatusLine = 0"},
    };
    for (const auto& [lineNumber, text] : harmless)
        EXPECT_TRUE(ProblemsWith(lineNumber, text).empty()) << text;
}

// A repeated key is one problem however often it repeats, and only its last line is checked.
TEST(SkinChecker, OnlyTheLineThatCountsIsChecked)
{
    TextLines lines = ReferenceSkinLines();
    lines.insert(lines.begin(), 3, "Artist = broken");
    const std::vector<SkinProblem> problems = CheckDescription(lines, AllSizes({4, 3}));
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0], (SkinProblem{"Ruvex.rvk", 1, "\"Artist\" has 4 lines; only the last one (6) counts",
                                        SkinCategory::Strings, "Artist"}));
}

TEST(SkinChecker, EmptyFileMissesEveryKeyInModelOrder)
{
    const std::vector<SkinProblem> problems = CheckDescription({}, AllSizes({4, 3}));
    ASSERT_EQ(problems.size(), 23u);
    EXPECT_EQ(ProblemLine(problems[0]), "Ruvex.rvk: no line for \"TrackNumber\"");
    EXPECT_EQ(ProblemLine(problems[3]), "Ruvex.rvk: no line for \"Title \"");
    EXPECT_EQ(ProblemLine(problems[22]), "Ruvex.rvk: no line for \"StatusLine\"");
}

// A NUL byte that cuts the text short, or a file of no bytes, is why keys have no
// line: it is told first, before the "no line for" problems it causes.
TEST(SkinChecker, WhatLeavesKeysWithoutALineLeadsTheirProblems)
{
    PictureFindings found;
    for (PictureFinding& picture : found)
        picture.size = QSize(4, 3);
    const std::string reference = JoinTextLines(ReferenceSkinLines());
    const std::string cut = reference.substr(0, 20) + '\0' + reference.substr(20);
    std::vector<SkinProblem> problems = CheckSkin(cut, found);
    ASSERT_GT(problems.size(), 20u);
    EXPECT_EQ(ProblemLine(problems[0]).rfind("Ruvex.rvk:1: a NUL byte ends the text here; the ", 0), 0u)
        << ProblemLine(problems[0]);
    EXPECT_EQ(ProblemLine(problems[1]), "Ruvex.rvk: no line for \"Playlist\"");

    problems = CheckSkin("", found);
    ASSERT_EQ(problems.size(), 24u);
    EXPECT_EQ(ProblemLine(problems[0]), "Ruvex.rvk: the file is empty");
}

TEST(SkinChecker, FolderWithoutDescriptionFileStillChecksPictures)
{
    TestSkin skin;
    skin.WritePictures();
    skin.WriteBytes(QStringLiteral("7.gif"), "GIF89a");
    const std::vector<SkinProblem> problems = CheckSkinFolder(skin.Dir());
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0], (SkinProblem{"Ruvex.rvk", 0, "missing"}));
    EXPECT_EQ(problems[1].file, "7.gif");
    EXPECT_EQ(problems[1].text.rfind("cannot be decoded: ", 0), 0u) << problems[1].text;
}

// A skin folder that is a loop of symbolic links is told as such, not as missing.
TEST(SkinChecker, FolderThatIsALinkLoopSaysSo)
{
    TestSkin dir;
    const QString loop = dir.Path(QStringLiteral("loop"));
    ASSERT_TRUE(QFile::link(loop, loop));
    try {
        CheckSkinFolder(loop);
        FAIL();
    } catch (const SkinError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot open file \"" + loop.toStdString() + "/Ruvex.rvk\". Too many levels of symbolic links");
    }
}

// The editor checks the document in memory: after a load it must find exactly what
// check finds in the folder, with the same places, whether the load succeeded or
// stopped at a picture that does not decode; and it must never read the folder again.
TEST(SkinChecker, TheDocumentInMemoryGivesWhatTheFolderGives)
{
    const struct {
        const char* name;
        std::function<void(TestSkin&)> breakIt;
        bool loads;
    } cases[] = {
        {"clean", [](TestSkin&) {}, true},
        {"lines and a missing picture",
         [](TestSkin& skin) {
             TextLines lines = ReferenceSkinLines();
             lines[2] = "Artist = 88 40 18 2 2 0xFFFFFG00";
             lines[15] = "Play = 174 180 20";
             lines.push_back("artist = 1");
             lines.push_back("Album = 88 72 17 1 1 0x0000FF00 0x000000FF");
             skin.WriteDescription(lines);
             QFile::remove(skin.Path("9.gif"));
         },
         true},
        // 3.gif stops the load; 8.gif, loaded after it, is still looked at.
        {"pictures that do not decode",
         [](TestSkin& skin) {
             skin.WriteBytes("3.gif", "GIF89a");
             skin.WriteBytes("8.gif", "not a picture");
             QFile::remove(skin.Path("14.gif"));
         },
         false},
    };
    for (const auto& c : cases) {
        TestSkin skin;
        skin.WriteComplete();
        c.breakIt(skin);
        const std::vector<SkinProblem> expected = CheckSkinFolder(skin.Dir());

        SkinDocument document;
        document.SkinFileName = skin.DescriptionPath();
        bool loaded = true;
        try {
            LoadSkin(document, skin.DescriptionPath());
        } catch (const SkinError&) {
            loaded = false;
        }
        EXPECT_EQ(loaded, c.loads) << c.name;
        EXPECT_EQ(CheckDocument(document), expected) << c.name;

        // Gone from the disk, still in memory; a line edited in memory counts.
        for (int number = 0; number < SkinPictureCount; ++number)
            QFile::remove(skin.Path(PictureFileName(number)));
        EXPECT_EQ(CheckDocument(document), expected) << c.name;
        document.Lines.Replace(document.Lines.FindKey("StatusLine"), "StatusLine = 2");
        const std::vector<SkinProblem> edited = CheckDocument(document);
        ASSERT_EQ(edited.size(), expected.size() + 1) << c.name;
        EXPECT_TRUE(std::any_of(edited.begin(), edited.end(), [](const SkinProblem& problem) {
            return problem.text == "\"StatusLine\": setting 2 is not 0 (off) or 1 (on)";
        })) << c.name;
    }
    EXPECT_TRUE(CheckDocument(SkinDocument{}).empty()); // nothing open
}

// A problem says where it is by element and field, or picture, so a view can go there.
TEST(SkinChecker, AProblemKnowsItsElementFieldOrPicture)
{
    TestSkin skin;
    skin.WriteComplete();
    TextLines lines = ReferenceSkinLines();
    lines[2] = "Artist = 88 40 17 2 2 0xFFFFFG00 0x000000FF"; // colour
    lines[8] = "SoftLabel = 2 218 36 1";                      // missing from the style code on
    lines[13] = "SoftPicture = 0 300 20";                     // y: only its rows are off the screen
    lines[15] = "Play = 5x5 180 20";                          // x
    lines[16] = "Pause = -50 300 20";                         // x: its columns are off the screen too
    lines[26] = "ProgressBar = 10 160 156";                   // missing h and colour
    lines[31] = "StatusLine = 2";
    lines[9] = "Volume = 1";                                  // no key's line
    lines.erase(lines.begin() + 17);                          // Stop's line
    skin.WriteDescription(lines);
    skin.WriteBytes("6.gif", "GIF89a");

    struct Place {
        std::string file;
        SkinCategory category;
        std::string key;
        std::optional<FieldId> field;
        int picture;
        bool operator==(const Place&) const = default;
    };
    std::vector<Place> places;
    for (const SkinProblem& p : CheckSkinFolder(skin.Dir()))
        places.push_back({p.file, p.category, p.key, p.field, p.picture});
    using enum SkinCategory;
    const std::vector<Place> expected = {
        {"Ruvex.rvk", Pictures, "Stop", std::nullopt, -1},
        {"Ruvex.rvk", Strings, "Artist", FieldId::Color, -1},
        {"Ruvex.rvk", Strings, "SoftLabel", FieldId::StyleCode, -1},
        {"Ruvex.rvk", Strings, "", std::nullopt, -1},
        {"Ruvex.rvk", Pictures, "SoftPicture", FieldId::Y, -1},
        {"Ruvex.rvk", Pictures, "Play", FieldId::X, -1},
        {"Ruvex.rvk", Pictures, "Pause", FieldId::X, -1}, // both of the pictures it places
        {"Ruvex.rvk", Pictures, "Pause", FieldId::X, -1},
        {"Ruvex.rvk", Objects, "ProgressBar", FieldId::H, -1},
        {"Ruvex.rvk", Settings, "StatusLine", FieldId::Setting, -1},
        {"6.gif", Strings, "", std::nullopt, 6},
    };
    EXPECT_EQ(places, expected);
}

} // namespace
