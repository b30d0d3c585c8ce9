// vellumark-skin sheet, run as the built binary: ten previews, each exactly what the
// editor draws for its state, framed, labelled and laid out in a 5x2 grid.
#include "CliTestSupport.h"

#include "StatesSheet.h"
#include "TestSkin.h"

#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

// Where the sheet puts the preview of a play state (column) and repetition mode (row).
QRect PreviewRect(int column, int row)
{
    return SheetLayout().PreviewRect(column, row);
}

bool HasInk(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                return true;
    return false;
}

class SheetCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(out_.isValid());
        skin_.WriteComplete();
    }
    RunResult Sheet(const QStringList& options = {}) const
    {
        return RunCli(QStringList{QStringLiteral("sheet"), skin_.Dir(), QStringLiteral("-o"), Out()} + options);
    }
    QString Out() const { return out_.filePath(QStringLiteral("sheet.png")); }

    TestSkin skin_;
    QTemporaryDir out_;
};

TEST_F(SheetCommand, TenPreviewsOfEveryStateAndRepeatMode)
{
    const RunResult run = Sheet();
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
    const QImage sheet = LoadPng(Out());
    const SheetLayout layout;
    ASSERT_EQ(sheet.size(), layout.Size());
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 5; ++column) {
            const QRect rect = PreviewRect(column, row);
            const PreviewSettings settings{column, row, /*volumeShown*/ true, /*volumeLevel*/ 5};
            EXPECT_EQ(sheet.copy(rect), RenderInProcess(skin_.Dir(), settings)) << column << " " << row;
            // The frame around it, white margin outside the frame.
            EXPECT_EQ(sheet.pixel(rect.left() - 1, rect.top() - 1), qRgb(0, 0, 0));
            EXPECT_EQ(sheet.pixel(rect.right() + 1, rect.bottom() + 1), qRgb(0, 0, 0));
            EXPECT_EQ(sheet.pixel(rect.left() - 2, rect.top() - 2), qRgb(255, 255, 255));
            // A label under the frame.
            const int labelArea = SheetLayout::LabelGap + layout.labelHeight;
            EXPECT_TRUE(HasInk(sheet.copy(rect.left() - 1, rect.bottom() + 2, 178, labelArea)))
                << column << " " << row;
        }
    }
}

TEST_F(SheetCommand, VolumeTextsAndOverlayReachEveryPreview)
{
    const OwnAssets assets;
    const RunResult run = Sheet({QStringLiteral("--volume=0"), QStringLiteral("--texts"), assets.texts,
                                 QStringLiteral("--overlay"), assets.overlay});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QImage sheet = LoadPng(Out());
    const PreviewSettings settings{4, 1, /*volumeShown*/ true, /*volumeLevel*/ 0};
    EXPECT_EQ(sheet.copy(PreviewRect(4, 1)), RenderInProcess(skin_.Dir(), settings, assets.texts, assets.overlay));
}

TEST_F(SheetCommand, ScaleRepeatsEachPixelAsABlock)
{
    ASSERT_EQ(Sheet().exitCode, 0);
    const QImage once = LoadPng(Out());
    const QString scaled = out_.filePath(QStringLiteral("sheet3.png"));
    const RunResult run = RunCli({QStringLiteral("sheet"), skin_.Dir() + QStringLiteral("/Ruvex.rvk"),
                                  QStringLiteral("--scale=3"), QStringLiteral("--output"), scaled});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(LoadPng(scaled), Replicated(once, 3));
}

TEST_F(SheetCommand, ErrorsAreTheRendersAndWriteNothing)
{
    std::vector<std::string> lines = ReferenceSkinLines();
    lines[25] = "; no Background"; // "Background = 0 0 176 220 0xC0C0C000"
    skin_.WriteDescription(lines);
    const RunResult run = Sheet();
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err.toStdString(), "vellumark-skin: Ruvex.rvk: no line for \"Background\" "
                                     "(vellumark-skin check SKIN_DIR lists every problem).\n");
    EXPECT_FALSE(QFileInfo::exists(Out()));
}

TEST_F(SheetCommand, WrongUsageExitsTwo)
{
    const std::vector<QStringList> cases = {
        {QStringLiteral("sheet"), skin_.Dir()},
        {QStringLiteral("sheet"), QStringLiteral("-o"), Out()},
        {QStringLiteral("sheet"), skin_.Dir(), QStringLiteral("-o"), Out(), QStringLiteral("--volume"), QStringLiteral("on")},
        {QStringLiteral("sheet"), skin_.Dir(), QStringLiteral("-o"), Out(), QStringLiteral("--volume"), QStringLiteral("10")},
        {QStringLiteral("sheet"), skin_.Dir(), QStringLiteral("-o"), Out(), QStringLiteral("--state"), QStringLiteral("play")},
    };
    for (const QStringList& args : cases) {
        ExpectUsageError(args);
        EXPECT_FALSE(QFileInfo::exists(Out()));
    }
}

} // namespace

// The editor's All states with Volume unticked: no bar in any preview.
TEST_F(SheetCommand, VolumeOffDrawsNoBar)
{
    const RunResult run = Sheet({QStringLiteral("--volume"), QStringLiteral("off")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QImage sheet = LoadPng(Out());
    const PreviewSettings settings{2, 0, /*volumeShown*/ false, /*volumeLevel*/ 5};
    EXPECT_EQ(sheet.copy(PreviewRect(2, 0)), RenderInProcess(skin_.Dir(), settings));
}
