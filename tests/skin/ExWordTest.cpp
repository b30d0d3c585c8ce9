#include "ExWord.h"

#include "CaseName.h"

#include <gtest/gtest.h>

namespace {

const DelimiterSet kBlankComma = MakeDelimiters({' ', ','});

struct WordCase {
    const char* text;
    std::size_t n;
    std::size_t start;
    const char* word;
};

class WordFunctions : public ::testing::TestWithParam<WordCase> {};

TEST_P(WordFunctions, FindTheNthWord)
{
    const auto& c = GetParam();
    EXPECT_EQ(WordStart(c.n, c.text, kBlankComma), c.start);
    EXPECT_EQ(WordAt(c.n, c.text, kBlankComma), c.word);
}

INSTANTIATE_TEST_SUITE_P(Cases, WordFunctions, ::testing::Values(
    WordCase{"88 40 17", 1, 1, "88"},
    WordCase{"88 40 17", 3, 7, "17"},
    WordCase{"88 40 17", 4, 0, ""},
    WordCase{"88 40 17", 0, 0, ""},
    WordCase{"  ,, lead", 1, 6, "lead"},
    WordCase{"a,,b  c", 2, 4, "b"},
    WordCase{"a,,b  c ", 3, 7, "c"},
    WordCase{"", 1, 0, ""},
    WordCase{" , ", 1, 0, ""}),
    [](const auto& info) { return CaseName(info.index, "word " + std::to_string(info.param.n) + " of " + info.param.text); });

TEST(WordFunctions, WorkOnTextsLongerThan255Characters)
{
    std::string text(300, 'x');
    text += " tail";
    EXPECT_EQ(WordStart(2, text, kBlankComma), 302u);
    EXPECT_EQ(WordAt(1, text, kBlankComma), std::string(300, 'x'));
    EXPECT_EQ(WordAt(2, text, kBlankComma), "tail");
}

TEST(WordFunctions, TreatHighBytesAsOrdinaryUnlessInTheSet)
{
    const std::string text = "\xA0w\xE9 \xA0z";
    EXPECT_EQ(WordAt(1, text, kBlankComma), "\xA0w\xE9");
    EXPECT_EQ(WordAt(1, text, MakeDelimiters({' ', 0xA0})), "w\xE9");
    EXPECT_EQ(WordAt(2, text, MakeDelimiters({' ', 0xA0})), "z");
}

} // namespace
