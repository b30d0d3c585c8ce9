// View › All states and the two PNG exports: the window shows the sheet of
// vellumark-skin sheet, follows the session, and the exports write scaled PNGs all
// or nothing.
#include "AllStatesWindow.h"
#include "PngExport.h"

#include "PictureView.h"
#include "StatesSheet.h"
#include "TestSession.h"
#include "TestSkin.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QImage DrawnAlone(const SkinDocument& document, int playState, int repetition)
{
    QImage surface = NewPreviewSurface();
    DrawPreview(surface, document, PreviewSettings{playState, repetition, /*volumeShown*/ true, /*volumeLevel*/ 5});
    return surface;
}

// True when big is small with every pixel as an n x n block.
bool IsBlownUp(const QImage& big, const QImage& small, int n)
{
    if (big.size() != small.size() * n)
        return false;
    for (int y = 0; y < big.height(); ++y)
        for (int x = 0; x < big.width(); ++x)
            if (big.pixel(x, y) != small.pixel(x / n, y / n))
                return false;
    return true;
}

QImage LoadPng(const QString& path)
{
    return QImage(path, "PNG").convertToFormat(QImage::Format_RGB32);
}

class AllStatesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        skin_.WriteComplete();
        ASSERT_TRUE(rig_.Open(skin_.DescriptionPath()));
        rig_.session->SetSettings(PreviewSettings{1, 0, /*volumeShown*/ true, /*volumeLevel*/ 5});
    }
    EditingSession& Session() { return *rig_.session; }
    const SkinDocument& Document() { return rig_.session->Document(); }
    // The test skin's Random picture (12.gif) moves from 10,100 to 40,60 as one step.
    void MoveRandom()
    {
        Session().StoreElement({SkinCategory::Pictures, "Random"}, ItemValues{40, 60, 0, 0, 0, 0, 0, ""}, 1);
    }

    TestSession rig_;
    TestSkin skin_;
    QTemporaryDir out_;
};

TEST_F(AllStatesTest, TheWindowShowsEveryStateAsTheSheetAndFollowsEditsAndUndo)
{
    TAllStatesWindow window(Session(), rig_.errors, &rig_.page);
    window.show();
    QCoreApplication::processEvents();
    const SheetLayout layout;
    ASSERT_EQ(window.Sheet().size(), layout.Size());
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 5; ++column)
            EXPECT_EQ(window.Sheet().copy(layout.PreviewRect(column, row)), DrawnAlone(Document(), column, row))
                << column << " " << row;

    const QRect stopAll = layout.PreviewRect(3, 1);
    MoveRandom();
    QCoreApplication::processEvents();
    EXPECT_EQ(window.Sheet().copy(stopAll), DrawnAlone(Document(), 3, 1));
    EXPECT_EQ(window.Sheet().pixel(stopAll.topLeft() + QPoint(41, 61)), TestPictureColor(12));

    Session().Undo();
    QCoreApplication::processEvents();
    EXPECT_NE(window.Sheet().pixel(stopAll.topLeft() + QPoint(41, 61)), TestPictureColor(12));
    EXPECT_EQ(window.Sheet().copy(stopAll), DrawnAlone(Document(), 3, 1));

    auto* view = window.findChild<PictureView*>("SheetView");
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(IsBlownUp(view->Shown(), window.Sheet(), 1));
    window.findChild<QComboBox*>("ZoomBox")->setCurrentIndex(2);
    EXPECT_EQ(window.Zoom(), 3);
    EXPECT_TRUE(IsBlownUp(view->Shown(), window.Sheet(), 3));
    EXPECT_TRUE(rig_.dialogs.errors.empty());
}

TEST_F(AllStatesTest, AHiddenWindowCatchesUpWhenShownAgain)
{
    TAllStatesWindow window(Session(), rig_.errors, &rig_.page);
    window.show();
    QCoreApplication::processEvents();
    window.hide();
    MoveRandom();
    QCoreApplication::processEvents();
    window.show();
    const QRect playOne = SheetLayout().PreviewRect(1, 0);
    EXPECT_EQ(window.Sheet().pixel(playOne.topLeft() + QPoint(41, 61)), TestPictureColor(12));
}

TEST_F(AllStatesTest, ExportsWriteTheChosenScaleAndRememberTheFolder)
{
    ScriptedDialogs& dialogs = rig_.dialogs;
    const QString preview = out_.filePath("preview.png");
    dialogs.scaleAnswers = {3};
    dialogs.fileAnswers = {preview};
    ExportPreview(Session(), dialogs);
    EXPECT_TRUE(IsBlownUp(LoadPng(preview), Session().Surface(), 3));

    const QString sheet = out_.filePath("sheet.png");
    dialogs.scaleAnswers = {2};
    dialogs.fileAnswers = {sheet};
    ExportAllStates(Session(), dialogs);
    EXPECT_TRUE(IsBlownUp(LoadPng(sheet), DrawStatesSheet(Document(), Session().Settings()), 2));

    ASSERT_EQ(dialogs.fileRequests.size(), 2u);
    EXPECT_EQ(dialogs.fileRequests[0].dialog, "ExportPreviewDialog");
    // The first export starts beside the skin, the next where the last one went.
    ASSERT_FALSE(Session().SkinFolder().isEmpty());
    EXPECT_EQ(dialogs.fileRequests[0].initialFile,
              QDir(QFileInfo(Session().SkinFolder()).absolutePath()).filePath("preview.png"));
    EXPECT_EQ(dialogs.fileRequests[1].dialog, "ExportSheetDialog");
    EXPECT_EQ(dialogs.fileRequests[1].initialFile, QDir(out_.path()).filePath("sheet.png"));
    EXPECT_EQ(dialogs.scaleRequests, (std::vector<int>{2, 3})); // starts with the last one chosen

    // A cancelled scale asks for no file and writes nothing.
    ExportPreview(Session(), dialogs);
    EXPECT_EQ(dialogs.fileRequests.size(), 2u);
}

TEST_F(AllStatesTest, AFailedExportShowsTheCreateErrorAndLeavesTheTargetAsItWas)
{
    // A folder of the chosen name cannot be replaced by a file, whoever runs the test.
    const QString target = out_.filePath("taken.png");
    ASSERT_TRUE(QDir().mkpath(target + "/inside"));
    rig_.dialogs.scaleAnswers = {1};
    rig_.dialogs.fileAnswers = {target};
    EXPECT_FALSE(rig_.errors.Run([&] { ExportAllStates(Session(), rig_.dialogs); }));
    ASSERT_EQ(rig_.dialogs.errors.size(), 1u);
    EXPECT_TRUE(rig_.dialogs.errors[0].text.startsWith("Cannot create file \"" + target + "\". "))
        << rig_.dialogs.errors[0].text.toStdString();
    EXPECT_TRUE(QFileInfo(target + "/inside").isDir());
    EXPECT_EQ(QDir(out_.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"taken.png"}); // no temporary file left behind
}

} // namespace
