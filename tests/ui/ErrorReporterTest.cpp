#include "ErrorReporter.h"

#include "ScriptedDialogs.h"
#include "SkinError.h"

#include <gtest/gtest.h>

TEST(ErrorReporter, TitleIsTheNameUpToItsFirstDotWithLaterLettersInLowerCase)
{
    EXPECT_EQ(ApplicationTitle("VELLUMARK.EXE"), "Vellumark");
    EXPECT_EQ(ApplicationTitle("vellumark.tar.gz"), "vellumark");
    EXPECT_EQ(ApplicationTitle(""), "");
}

TEST(ErrorReporter, TextGetsAFullStopOnlyAfterACharacterThatSortsAfterTheDot)
{
    EXPECT_EQ(ErrorBoxText("List index out of bounds (-1)"), "List index out of bounds (-1)");
    EXPECT_EQ(ErrorBoxText("Cannot open file \"/x\". No such file or directory"),
              "Cannot open file \"/x\". No such file or directory.");
    EXPECT_EQ(ErrorBoxText("ends."), "ends.");
    EXPECT_EQ(ErrorBoxText("ends -"), "ends -");
    EXPECT_EQ(ErrorBoxText("ends /"), "ends /.");
    EXPECT_EQ(ErrorBoxText(""), "");
}

TEST(ErrorReporter, EveryKindOfErrorEndsInOneErrorBoxAndNothingEscapes)
{
    ScriptedDialogs dialogs;
    const ErrorReporter reporter(dialogs);
    EXPECT_TRUE(reporter.Run([] {}));
    EXPECT_TRUE(dialogs.errors.empty());

    EXPECT_FALSE(reporter.Run([] { throw SkinError("Cannot create file \"/t\". Permission denied"); }));
    EXPECT_FALSE(reporter.Run([] { throw std::length_error("too long"); }));
    EXPECT_FALSE(reporter.Run([] { throw 42; }));
    ASSERT_EQ(dialogs.errors.size(), 3u);
    EXPECT_EQ(dialogs.errors[0].title, "Vellumark"); // the test program's name is "VELLUMARK.EXE"
    EXPECT_EQ(dialogs.errors[0].text, "Cannot create file \"/t\". Permission denied.");
    EXPECT_EQ(dialogs.errors[1].text, "too long.");

    dialogs.whileErrorShown = [] { throw std::runtime_error("the box itself failed"); };
    EXPECT_FALSE(reporter.Run([] { throw SkinError("first"); }));
}
