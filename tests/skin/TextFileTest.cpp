#include "ChildProcess.h"
#include "ReplacementFile.h"
#include "SkinError.h"
#include "TestSkin.h"
#include "TextFile.h"

#include "CaseName.h"
#include <QDir>

#include <gtest/gtest.h>

#include <random>
#include <sys/stat.h>

namespace {

using Lines = std::vector<std::string>;

struct SplitCase {
    std::string bytes;
    Lines lines;
};

class SplittingText : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplittingText, FollowsTheLineEndRules)
{
    EXPECT_EQ(SplitTextLines(GetParam().bytes), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(Cases, SplittingText, ::testing::Values(
    SplitCase{"", {}},
    SplitCase{"a\r\nb\r\n", {"a", "b"}},
    SplitCase{"a\nb\n", {"a", "b"}},
    SplitCase{"a\rb\r", {"a", "b"}},
    SplitCase{"a\r\n\r\nb", {"a", "", "b"}},
    SplitCase{"a\n\rb", {"a", "", "b"}},
    SplitCase{"unterminated", {"unterminated"}},
    SplitCase{"\n", {""}},
    SplitCase{std::string("a\nb\0c\nd", 7), {"a", "b"}},
    SplitCase{std::string("\0abc", 4), {}},
    SplitCase{"\xEF\xBB\xBFKey = 1", {"\xEF\xBB\xBFKey = 1"}}),
    [](const auto& info) { return CaseName(info.index, info.param.bytes); });

TEST(TextFiles, WriteCrLfAfterEveryLineAndReadBackTheSame)
{
    TestSkin dir;
    const Lines lines = {"first", "", "last"};
    WriteTextLines(dir.Path("out.txt"), lines);
    EXPECT_EQ(dir.ReadBytes("out.txt"), "first\r\n\r\nlast\r\n");
    EXPECT_EQ(ReadTextLines(dir.Path("out.txt")), lines);

    WriteTextLines(dir.Path("empty.txt"), {});
    EXPECT_EQ(dir.ReadBytes("empty.txt"), "");
}

TEST(TextFiles, EveryByteButCrLfAndNulSurvivesARoundTrip)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(1, 255);
    Lines lines;
    for (int i = 0; i < 50; ++i) {
        std::string line;
        for (int k = 0; k < 80; ++k) {
            const char c = static_cast<char>(byte(random));
            if (c != '\r' && c != '\n')
                line += c;
        }
        lines.push_back(line);
    }
    TestSkin dir;
    WriteTextLines(dir.Path("bytes.txt"), lines);
    EXPECT_EQ(ReadTextLines(dir.Path("bytes.txt")), lines);
}

TEST(TextFiles, ReadingAMissingFileNamesItsFullPathAndTheReason)
{
    TestSkin dir;
    try {
        ReadTextLines(dir.Path("missing.rvk"));
        FAIL();
    } catch (const SkinError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot open file \"" + dir.Path("missing.rvk").toStdString() + "\". No such file or directory");
    }
}

TEST(TextFiles, WritingWhereNoFileCanBeMadeReportsTheCreationErrorAndKeepsTheOldFile)
{
    TestSkin dir;
    dir.WriteBytes("plain", "not a folder");
    const QString impossible = dir.Path("plain/Ruvex.rvk");
    try {
        WriteTextLines(impossible, {"x"});
        FAIL();
    } catch (const SkinError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Cannot create file \"" + impossible.toStdString() + "\". ", 0), 0u)
            << e.what();
    }
    EXPECT_EQ(dir.ReadBytes("plain"), "not a folder");
}


// Files that would hang a reader or exhaust its memory are refused by their kind or
// size before anything is read; a file of exactly the limit is read.
TEST(TextFiles, OnlyRegularFilesWithinTheLimitAreRead)
{
    TestSkin dir;
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.Path("pipe")).constData(), 0644), 0);
    ASSERT_TRUE(QFile::link("/dev/zero", dir.Path("zero")));
    ASSERT_TRUE(QDir(dir.Dir()).mkdir("3.gif"));
    ASSERT_TRUE(QFile::link(dir.Path("loop"), dir.Path("loop")));
    dir.WriteBytes("limit", std::string(16, 'x'));
    dir.WriteBytes("over", std::string(17, 'x'));
    const auto error = [&](const char* name, const std::string& reason) {
        return "Cannot open file \"" + dir.Path(name).toStdString() + "\". " + reason;
    };
    EXPECT_EQ(ErrorOf([&] { ReadFileBytes(dir.Path("pipe"), 16); }), error("pipe", "It is a named pipe, not a regular file"));
    EXPECT_EQ(ErrorOf([&] { ReadFileBytes(dir.Path("zero"), 16); }), error("zero", "It is a device, not a regular file"));
    EXPECT_EQ(ErrorOf([&] { ReadFileBytes(dir.Path("3.gif"), 16); }), error("3.gif", "Is a directory"));
    EXPECT_EQ(ErrorOf([&] { ReadFileBytes(dir.Path("loop"), 16); }), error("loop", "Too many levels of symbolic links"));
    EXPECT_EQ(ErrorOf([&] { ReadFileBytes(dir.Path("over"), 16); }), error("over", "The file is larger than the limit of 16 bytes"));
    EXPECT_EQ(ReadFileBytes(dir.Path("limit"), 16), std::string(16, 'x'));

    // A description file one byte over 1 MiB (sparse: nothing is really written).
    QFile big(dir.Path("Ruvex.rvk"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(static_cast<qint64>(MaxTextFileBytes) + 1));
    big.close();
    EXPECT_EQ(ErrorOf([&] { ReadTextLines(dir.Path("Ruvex.rvk")); }),
              error("Ruvex.rvk", "The file is larger than the limit of 1 MiB"));
}

// Every failed write names the file and gives the system's reason, and leaves the
// old file and no temporary file.
TEST(TextFiles, FailedWritesGiveTheSystemsReasonAndKeepTheOldFile)
{
    TestSkin dir;
    dir.WriteBytes("old.rvk", "old\r\n");
    ASSERT_TRUE(QDir(dir.Dir()).mkdir("folder.rvk"));
    const auto entries = [&] {
        return QDir(dir.Dir()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    };
    const QStringList before = entries();
    const auto error = [&](const char* name, const std::string& reason) {
        return "Cannot create file \"" + dir.Path(name).toStdString() + "\". " + reason;
    };
    EXPECT_EQ(ErrorOf([&] { WriteTextLines(dir.Path("folder.rvk"), {"x"}); }), error("folder.rvk", "Is a directory"));
    EXPECT_EQ(ErrorOf([&] { WriteTextLines(dir.Path("old.rvk/x"), {"x"}); }), error("old.rvk/x", "Not a directory"));

    ChildOptions limited;
    limited.fileSizeLimit = 1000;
    ChildResult child = RunInChild([&] { return ErrorOf([&] { WriteTextLines(dir.Path("old.rvk"), {std::string(5000, 'n')}); }); },
                                   limited);
    ASSERT_TRUE(child.ran);
    EXPECT_EQ(child.output, error("old.rvk", "File too large"));

    // A writable file in a folder that is not, and a write-protected file in a folder
    // that is writable: the reason is given once, without the path again.
    ChildOptions asNobody;
    asNobody.dropToNobody = true;
    for (const auto& [folderMode, fileMode] : {std::pair{0755, 0666}, std::pair{0777, 0444}}) {
        SetMode(dir.Dir(), static_cast<mode_t>(folderMode));
        SetMode(dir.Path("old.rvk"), static_cast<mode_t>(fileMode));
        child = RunInChild([&] { return ErrorOf([&] { WriteTextLines(dir.Path("old.rvk"), {"new"}); }); }, asNobody);
        ASSERT_TRUE(child.ran);
        EXPECT_EQ(child.output, error("old.rvk", "Permission denied")) << folderMode;
    }
    SetMode(dir.Dir(), 0700);

    EXPECT_EQ(dir.ReadBytes("old.rvk"), "old\r\n");
    EXPECT_EQ(entries(), before);
}

// A replaced file keeps its permissions; a new one gets the umask's.
TEST(TextFiles, ReplacedFileKeepsItsPermissions)
{
    TestSkin dir;
    dir.WriteBytes("kept.rvk", "old");
    SetMode(dir.Path("kept.rvk"), 0604);
    WriteTextLines(dir.Path("kept.rvk"), {"new"});
    WriteTextLines(dir.Path("new.rvk"), {"new"});
    const mode_t mask = ::umask(022);
    ::umask(mask);
    struct stat kept {};
    struct stat fresh {};
    ::stat(QFile::encodeName(dir.Path("kept.rvk")).constData(), &kept);
    ::stat(QFile::encodeName(dir.Path("new.rvk")).constData(), &fresh);
    EXPECT_EQ(kept.st_mode & 0777, 0604u);
    EXPECT_EQ(fresh.st_mode & 0777, 0666u & ~mask);
    EXPECT_EQ(dir.ReadBytes("kept.rvk"), "new\r\n");
}

} // namespace
