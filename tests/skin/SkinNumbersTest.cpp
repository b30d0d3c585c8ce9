#include "SkinError.h"
#include "SkinNumbers.h"

#include "CaseName.h"

#include <gtest/gtest.h>

namespace {

struct NumberCase {
    const char* word;
    std::int32_t value;
};

class ValidNumbers : public ::testing::TestWithParam<NumberCase> {};

TEST_P(ValidNumbers, Convert)
{
    EXPECT_EQ(ParseSkinInt(GetParam().word), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Words, ValidNumbers, ::testing::Values(
    NumberCase{"0", 0}, NumberCase{"88", 88}, NumberCase{"-5", -5}, NumberCase{"+17", 17},
    NumberCase{"007", 7}, NumberCase{"2147483647", 2147483647}, NumberCase{"-2147483648", INT32_MIN},
    NumberCase{"$10", 16}, NumberCase{"x1f", 31}, NumberCase{"X1F", 31}, NumberCase{"0x10", 16},
    NumberCase{"0XfF", 255}, NumberCase{"$FFFFFFFF", -1}, NumberCase{"0x80000000", INT32_MIN},
    NumberCase{"-$10", -16}, NumberCase{"0x0000000A", 10}),
    [](const auto& info) { return CaseName(info.index, info.param.word); });

class InvalidNumbers : public ::testing::TestWithParam<const char*> {};

TEST_P(InvalidNumbers, RaiseTheConversionErrorNamingTheWord)
{
    const std::string word = GetParam();
    try {
        ParseSkinInt(word);
        FAIL() << "accepted " << word;
    } catch (const SkinError& e) {
        EXPECT_EQ(std::string(e.what()), "'" + word + "' is not a valid integer value");
    }
}

INSTANTIATE_TEST_SUITE_P(Words, InvalidNumbers, ::testing::Values(
    "", "-", "+", "$", "0x", "12a", "1.5", " 1", "1 ", "2147483648", "-2147483649",
    "$100000000", "0xFFFFFFFFF", "--1", "0x00FF0000zz", "x", "1e3"),
    [](const auto& info) { return CaseName(info.index, info.param); });

TEST(Colors, HexToColorReadsRedGreenBlueAndIgnoresPrefixAndAlpha)
{
    EXPECT_EQ(HexToColor("0xFFFFFF00"), MakeRgb(255, 255, 255));
    EXPECT_EQ(HexToColor("0x10203040"), MakeRgb(0x10, 0x20, 0x30));
    EXPECT_EQ(HexToColor("ABa0b0c0zz"), MakeRgb(0xA0, 0xB0, 0xC0));
    EXPECT_EQ(HexToColor("0x102030"), MakeRgb(0x10, 0x20, 0x30));
    EXPECT_EQ(RedOf(HexToColor("0x12345678")), 0x12);
    EXPECT_EQ(BlueOf(HexToColor("0x12345678")), 0x56);
}

TEST(Colors, MalformedColorStringsGiveBlack)
{
    for (const char* s : {"", "0x", "0xFFFF", "0xGG000000", "0x00FF0", "banana!!!!"})
        EXPECT_EQ(HexToColor(s), MakeRgb(0, 0, 0)) << s;
}

TEST(Colors, ColorToHexWritesUpperCaseRedGreenBlue)
{
    EXPECT_EQ(ColorToHex(MakeRgb(255, 0, 0)), "FF0000");
    EXPECT_EQ(ColorToHex(MakeRgb(0x0a, 0xbc, 0x01)), "0ABC01");
    EXPECT_EQ(HexToColor("0x" + ColorToHex(MakeRgb(1, 2, 3)) + "00"), MakeRgb(1, 2, 3));
}

} // namespace
