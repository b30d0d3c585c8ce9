// vellumark-skin diff, run as the built binary: nothing and 0 for the same skin
// (line ends aside), one line per difference and 1 otherwise, 2 for trouble; -o
// writes the marked sheet by render's rules.
#include "CliTestSupport.h"

#include "StatesSheet.h"
#include "TestSkin.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

class DiffCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        a_.WriteComplete();
        b_.WriteComplete();
    }
    RunResult Diff(const QStringList& options = {}) const
    {
        return RunCli(QStringList{QStringLiteral("diff"), a_.Dir(), b_.Dir()} + options);
    }
    TestSkin a_;
    TestSkin b_;
    QTemporaryDir out_;
};

TEST_F(DiffCommand, TheSameSkinGivesNothingAndLineEndsAreNoDifference)
{
    RunResult run = RunCli({QStringLiteral("diff"), a_.Dir(), a_.DescriptionPath()});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();

    std::string lf;
    for (const std::string& line : ReferenceSkinLines())
        lf += line + "\n";
    b_.WriteBytes(QStringLiteral("Ruvex.rvk"), lf);
    run = Diff();
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
}

TEST_F(DiffCommand, EachDifferenceIsALineAndTheSheetIsMarked)
{
    b_.WriteDescription(SkinWith({"Random = 12 100 20"}));
    const QString sheet = out_.filePath(QStringLiteral("diff.png"));
    const RunResult run = Diff({QStringLiteral("-o"), sheet});
    EXPECT_EQ(run.exitCode, 1) << run.err.toStdString();
    const QStringList lines = QString::fromUtf8(run.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 11) << run.out.toStdString(); // the line and the ten looks that draw 12.gif
    EXPECT_EQ(lines[0], QStringLiteral("Random: X 10 \u2192 12"));
    EXPECT_EQ(lines[1], QStringLiteral("backward / one: 12 pixels differ (6 added, 6 removed)"));
    const QImage marked = LoadPng(sheet);
    const SheetLayout layout;
    ASSERT_EQ(marked.width(), layout.Size().width());
    EXPECT_GT(marked.height(), 3 * layout.Size().height());
    const QImage bottom = marked.copy(0, marked.height() - layout.Size().height(), marked.width(), layout.Size().height());
    const QPoint playOne = layout.PreviewRect(1, 0).topLeft();
    EXPECT_EQ(bottom.pixel(playOne + QPoint(10, 100)), qRgb(255, 32, 0));  // A's picture, gone
    EXPECT_EQ(bottom.pixel(playOne + QPoint(15, 100)), qRgb(0, 176, 0));   // B's, new

    // -o goes by render's rules: a link that leads nowhere is refused, and so is the run.
    const QString nowhere = out_.filePath(QStringLiteral("nowhere.png"));
    ASSERT_TRUE(QFile::link(out_.filePath(QStringLiteral("new.png")), nowhere));
    const RunResult refused = Diff({QStringLiteral("-o"), nowhere});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_TRUE(refused.err.startsWith("vellumark-skin: Cannot create file \"")) << refused.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(out_.filePath(QStringLiteral("new.png"))));
}

TEST_F(DiffCommand, WrongUsageAndUnreadableSkinsExitTwo)
{
    ExpectUsageError({QStringLiteral("diff"), a_.Dir()}, "needs SKIN_A and SKIN_B");
    ExpectUsageError({QStringLiteral("diff"), a_.Dir(), b_.Dir(), a_.Dir()}, "Unexpected argument");
    ExpectUsageError({QStringLiteral("diff"), a_.Dir(), b_.Dir(), QStringLiteral("-o"), QStringLiteral("x.gif")});
    const RunResult missing = RunCli({QStringLiteral("diff"), a_.Dir(), out_.filePath(QStringLiteral("none"))});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.out.isEmpty());
    EXPECT_TRUE(missing.err.startsWith("vellumark-skin: No such folder")) << missing.err.toStdString();
}

} // namespace
