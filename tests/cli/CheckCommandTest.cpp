// vellumark-skin check, run as the built binary: one broken skin per kind of
// problem, each with the exact lines it must print and exit status 1.
#include "CliTestSupport.h"

#include "GifWriter.h"
#include "PreviewRenderer.h"
#include "SkinChecker.h"
#include "TestSkin.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <unistd.h>

namespace {

RunResult Check(const QString& dir, const QStringList& options = {})
{
    return RunCli(QStringList{QStringLiteral("check"), dir} + options);
}

// The problems check prints, without the warnings of the sample texts after them: the
// reference skin's right soft label runs past the bottom whatever its text (the
// anchor places only the left one), and these cases are about problems.
std::string Problems(const QByteArray& out)
{
    std::string problems;
    for (const QByteArray& line : out.split('\n'))
        if (!line.isEmpty() && !line.contains(": warning: "))
            problems += line.toStdString() + "\n";
    return problems;
}

// Lines of the reference skin (1-based): 3 Artist, 8 TimeElapsed, 9 SoftLabel, 16 Play,
// 18 Stop, 19 Forward, 20 Random, 26 Background, 27 ProgressBar, 28 VolumeBar, 32 StatusLine.
struct BrokenSkin {
    const char* name;
    std::function<void(std::vector<std::string>& lines, const TestSkin& skin)> breakIt;
    std::string expected;
};

std::function<void(std::vector<std::string>&, const TestSkin&)> SetLine(int lineNumber, std::string text)
{
    return [lineNumber, text](std::vector<std::string>& lines, const TestSkin&) {
        lines[static_cast<std::size_t>(lineNumber - 1)] = text;
    };
}

const std::vector<BrokenSkin>& BrokenSkins()
{
    static const std::vector<BrokenSkin> cases = {
        {"key without a line", SetLine(3, ""), "Ruvex.rvk: no line for \"Artist\"\n"},
        {"key with two lines",
         [](std::vector<std::string>& lines, const TestSkin&) { lines.push_back("Artist = 88 40 17 2 2 0xFFFFFF00 0x000000FF"); },
         "Ruvex.rvk:3: \"Artist\" has 2 lines; only the last one (33) counts\n"},
        {"word not a number", SetLine(16, "Play = 5x5 180 20"), "Ruvex.rvk:16: \"Play\": x \"5x5\" is not a number\n"},
        {"number out of range", SetLine(32, "StatusLine = 2147483648"),
         "Ruvex.rvk:32: \"StatusLine\": setting \"2147483648\" is not a number\n"},
        {"missing words", SetLine(3, "Artist = 88 40 17 2 2"),
         "Ruvex.rvk:3: \"Artist\": missing colour and second colour\n"},
        {"extra words", SetLine(16, "Play = 55 180 20 7 8"),
         "Ruvex.rvk:16: \"Play\": extra words after its 3 values: \"7 8\"\n"},
        {"colour string", SetLine(27, "ProgressBar = 10 160 156 6 0xFF00"),
         "Ruvex.rvk:27: \"ProgressBar\": colour \"0xFF00\" is not \"0x\" and eight hexadecimal digits\n"},
        {"anchor", SetLine(3, "Artist = 88 40 18 2 2 0xFFFFFF00 0x000000FF"),
         "Ruvex.rvk:3: \"Artist\": anchor 18 is not one of 3, 6, 10, 17, 20, 24, 33, 36, 40, 65, 68, 72\n"},
        {"font id", SetLine(3, "Artist = 88 40 17 11 2 0xFFFFFF00 0x000000FF"),
         "Ruvex.rvk:3: \"Artist\": font id 11 has no size; the fonts are 1 to 10 and 12 to 14\n"},
        {"style code", SetLine(3, "Artist = 88 40 17 2 0 0xFFFFFF00 0x000000FF"),
         "Ruvex.rvk:3: \"Artist\": style code 0 is not 255 (plain), 1 (italic), 2 (bold) or 3 (bold italic)\n"},
        {"StatusLine", SetLine(32, "StatusLine = 2"), "Ruvex.rvk:32: \"StatusLine\": setting 2 is not 0 (off) or 1 (on)\n"},
        {"Title without its blank", SetLine(4, "Title= 88 56 17 2 255 0x00FF0000 0x000000FF"),
         "Ruvex.rvk: no line for \"Title \"\n"
         "Ruvex.rvk:4: \"Title\" needs a blank before \"=\", so the line is not read\n"},
        {"key in lower case", SetLine(16, "play = 55 180 20"),
         "Ruvex.rvk: no line for \"Play\"\n"
         "Ruvex.rvk:16: \"play\" is not \"Play\": keys are case-sensitive, so the line is not read\n"},
        {"key after a blank", SetLine(3, " Artist = 88 40 17 2 2 0xFFFFFF00 0x000000FF"),
         "Ruvex.rvk: no line for \"Artist\"\n"
         "Ruvex.rvk:3: \"Artist\" does not begin the line, so the line is not read\n"},
        {"byte order mark", SetLine(1, "\xEF\xBB\xBFTrackNumber = 4 20 20 1 255 0x10203000 0x000000FF"),
         "Ruvex.rvk: no line for \"TrackNumber\"\n"
         "Ruvex.rvk:1: the file begins with a UTF-8 byte order mark, which is read as part of this line\n"},
        {"unrecognised line", SetLine(10, "hello"),
         "Ruvex.rvk:10: not recognised: neither an element line, an empty line nor a \";\" comment\n"},
        {"no blank after =", SetLine(16, "Play=55 180 20"),
         "Ruvex.rvk:16: \"Play\": \"=\" must be followed by a blank; \"5\" after it is skipped\n"},
        {"no =", SetLine(18, "Stop 105 180 20"), "Ruvex.rvk:18: \"Stop\": no \"=\" after the key\n"},
        {"pictures partly outside", SetLine(19, "Forward = 174 180 20"),
         "Ruvex.rvk:19: \"Forward\": 6.gif lies partly outside the 176x220 screen: 4x3 at (174, 180)\n"
         "Ruvex.rvk:19: \"Forward\": 11.gif lies partly outside the 176x220 screen: 4x3 at (174, 180)\n"},
        {"picture wholly outside", SetLine(20, "Random = 10 230 20"),
         "Ruvex.rvk:20: \"Random\": 12.gif lies wholly outside the 176x220 screen: 4x3 at (10, 230)\n"},
        {"text anchor point outside", SetLine(8, "TimeElapsed = 180 140 24 1 255 0x00000000 0x000000FF"),
         "Ruvex.rvk:8: \"TimeElapsed\": anchor point (180, 140) puts the text outside the 176x220 screen\n"},
        {"soft labels outside", SetLine(9, "SoftLabel = 180 218 36 1 255 0x00000000 0x000000FF"),
         "Ruvex.rvk:9: \"SoftLabel\": anchor point (180, 218) puts the text outside the 176x220 screen\n"
         "Ruvex.rvk:9: \"SoftLabel\": the right soft label's anchor point (-4, 218) puts it outside the 176x220 screen\n"},
        {"bar partly outside", SetLine(28, "VolumeBar = 130 170 50 5 0x0000FF00"),
         "Ruvex.rvk:28: \"VolumeBar\": the rectangle lies partly outside the 176x220 screen: 50x5 at (130, 170)\n"},
        {"background partly outside", SetLine(26, "Background = 0 0 176 230 0xC0C0C000"),
         "Ruvex.rvk:26: \"Background\": the rectangle lies partly outside the 176x220 screen: 176x230 at (0, 0)\n"},
        {"picture missing",
         [](std::vector<std::string>&, const TestSkin& skin) { QFile::remove(skin.Path(QStringLiteral("9.gif"))); },
         "9.gif: missing\n"},
        {"picture the decoder rejects",
         [](std::vector<std::string>&, const TestSkin& skin) { skin.WriteBytes(QStringLiteral("5.gif"), "not a gif"); },
         "5.gif: cannot be decoded: Data is not in GIF format\n"},
        {"picture too large for its place",
         [](std::vector<std::string>&, const TestSkin& skin) {
             WriteGifFile(skin.Path(QStringLiteral("0.gif")), SolidGif(176, 20, qRgb(1, 2, 3)));
         },
         "Ruvex.rvk:14: \"SoftPicture\": 0.gif lies partly outside the 176x220 screen: 176x20 at (0, 204)\n"},
    };
    return cases;
}

TEST(CheckCommand, EachKindOfProblemPrintsItsLineAndExitsOne)
{
    for (const BrokenSkin& broken : BrokenSkins()) {
        TestSkin skin;
        std::vector<std::string> lines = ReferenceSkinLines();
        skin.WritePictures();
        broken.breakIt(lines, skin);
        skin.WriteDescription(lines);
        const RunResult run = Check(skin.Dir());
        EXPECT_EQ(run.exitCode, 1) << broken.name;
        EXPECT_EQ(Problems(run.out), broken.expected) << broken.name;
        EXPECT_TRUE(run.err.isEmpty()) << broken.name << ": " << run.err.toStdString();
    }
}

TEST(CheckCommand, CleanSkinsPrintNothingAndExitZero)
{
    TestSkin skin;
    skin.WriteComplete();
    for (const QString& dir : {skin.Dir(), kExampleSkin, kExampleSkin + QStringLiteral("/Ruvex.rvk")}) {
        const auto before = FolderState(dir);
        const RunResult run = Check(dir);
        EXPECT_EQ(run.exitCode, 0) << dir.toStdString() << "\n" << run.out.toStdString();
        EXPECT_EQ(Problems(run.out), "");
        if (dir.startsWith(kExampleSkin)) {
            EXPECT_TRUE(run.out.isEmpty()); // the shipped texts fit the example skin
        }
        EXPECT_TRUE(run.err.isEmpty());
        EXPECT_EQ(FolderState(dir), before) << "check wrote into " << dir.toStdString();
    }
}

TEST(CheckCommand, ProblemsComeInFileOrder)
{
    TestSkin skin;
    std::vector<std::string> lines = ReferenceSkinLines();
    lines[31] = "StatusLine = 3";
    lines[2] = "Artist = 88 40 17 2 2";
    lines[15] = "";
    skin.WriteDescription(lines);
    skin.WritePictures();
    QFile::remove(skin.Path(QStringLiteral("14.gif")));
    QFile::remove(skin.Path(QStringLiteral("2.gif")));
    const RunResult run = Check(skin.Dir());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(Problems(run.out), "Ruvex.rvk: no line for \"Play\"\n"
                                     "Ruvex.rvk:3: \"Artist\": missing colour and second colour\n"
                                     "Ruvex.rvk:32: \"StatusLine\": setting 3 is not 0 (off) or 1 (on)\n"
                                     "2.gif: missing\n"
                                     "14.gif: missing\n");
}

TEST(CheckCommand, QuietPrintsNothingButKeepsTheExitStatus)
{
    TestSkin broken;
    broken.WriteComplete();
    QFile::remove(broken.Path(QStringLiteral("3.gif")));
    QTemporaryDir parent;
    const QString absent = parent.filePath(QStringLiteral("absent"));
    const struct {
        QString dir;
        int exitCode;
    } cases[] = {{kExampleSkin, 0}, {broken.Dir(), 1}, {absent, 1}};
    for (const auto& c : cases) {
        for (const QString& option : {QStringLiteral("--quiet"), QStringLiteral("-q")}) {
            const RunResult run = Check(c.dir, {option});
            EXPECT_EQ(run.exitCode, c.exitCode) << c.dir.toStdString();
            EXPECT_TRUE(run.out.isEmpty());
            EXPECT_TRUE(run.err.isEmpty());
        }
    }
}

TEST(CheckCommand, FolderThatCannotBeReadIsAnError)
{
    QTemporaryDir parent;
    const RunResult run = Check(parent.filePath(QStringLiteral("absent")));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_EQ(run.err.toStdString(),
              "vellumark-skin: No such folder \"" + parent.filePath(QStringLiteral("absent")).toStdString() + "\".\n");
}

TEST(CheckCommand, WrongUsageExitsTwo)
{
    QTemporaryDir dir;
    const std::vector<QStringList> cases = {
        {QStringLiteral("check")},
        {QStringLiteral("check"), dir.path(), dir.path()},
        {QStringLiteral("check"), QString()},
        {QStringLiteral("check"), dir.path(), QStringLiteral("--loud")},
        {QStringLiteral("check"), dir.path(), QStringLiteral("--quiet=yes")},
        {QStringLiteral("check"), dir.path(), QStringLiteral("-o"), dir.filePath(QStringLiteral("x.png"))},
    };
    for (const QStringList& args : cases)
        ExpectUsageError(args);
}

// A folder name that is not valid UTF-8 reaches the program as the same folder.
TEST(CheckCommand, FolderNameThatIsNotUtf8IsFound)
{
    TestSkin skin;
    skin.WriteComplete();
    QTemporaryDir parent;
    const QByteArray renamed = QFile::encodeName(parent.path()) + "/skin-\xE9t\xFF";
    ASSERT_EQ(::rename(QFile::encodeName(skin.Dir()).constData(), renamed.constData()), 0);
    const RunResult run = RunCli({QStringLiteral("-c"), QStringLiteral("exec \"$0\" check \"$1/$(printf 'skin-\\351t\\377')\""),
                                  kExe, parent.path()},
                                 QStringLiteral("/bin/sh"));
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(Problems(run.out), "");

    // Messages name it in its own bytes.
    ASSERT_EQ(::unlink((renamed + "/Ruvex.rvk").constData()), 0);
    const RunResult missing = RunCli({QStringLiteral("-c"), QStringLiteral("exec \"$0\" render \"$1/$(printf 'skin-\\351t\\377')\" -o \"$1/out.png\""),
                                      kExe, parent.path()},
                                     QStringLiteral("/bin/sh"));
    ::rename(renamed.constData(), QFile::encodeName(skin.Dir()).constData());
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "vellumark-skin: Cannot open file \"" + renamed + "/Ruvex.rvk\". No such file or directory.\n");
}

} // namespace

// Silence on a clean skin stays; --verbose says so in words and names the texts drawn.
TEST(CheckCommand, VerboseSaysNoProblemsAndNamesTheSampleTexts)
{
    RunResult run = RunCli({QStringLiteral("check"), QStringLiteral("--verbose"), kExampleSkin});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out.toStdString(), "no problems\nsample texts: "
                                         + QFileInfo(BinFiles(QStringLiteral("LangRuvex.txt"))).absoluteFilePath().toStdString()
                                         + "\n");
    run = RunCli({QStringLiteral("check"), QStringLiteral("-v"), QStringLiteral("--texts"), QStringLiteral("long"), kExampleSkin});
    EXPECT_TRUE(run.out.endsWith("\nsample texts: the built-in long set\n")) << run.out.toStdString();
    EXPECT_TRUE(RunCli({QStringLiteral("check"), kExampleSkin}).out.isEmpty());
}
