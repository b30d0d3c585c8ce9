#include "SkinError.h"
#include "TestSkin.h"
#include "TextFile.h"

#include "CaseName.h"

#include <gtest/gtest.h>

#include <random>

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

} // namespace
