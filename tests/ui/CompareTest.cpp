// View › Changes since saved and View › Compare with…: one window that follows the
// session's changes, against the saved state or a folder picked through the dialogs.
#include "CompareWindow.h"

#include "TestSkin.h"
#include "TestWindow.h"

#include <QAction>
#include <QCoreApplication>
#include <QListWidget>

#include <gtest/gtest.h>

namespace {

class CompareTest : public OpenedSkinTest {
protected:
    TCompareWindow* Compare(const char* action)
    {
        window->findChild<QAction*>(action)->trigger();
        QCoreApplication::processEvents();
        return window->findChild<TCompareWindow*>("CompareWindow");
    }
    QStringList Rows(TCompareWindow* compare) const
    {
        QCoreApplication::processEvents();
        QStringList rows;
        auto* list = compare->findChild<QListWidget*>("DifferenceList");
        for (int i = 0; i < list->count(); ++i)
            rows << list->item(i)->text();
        return rows;
    }
};

TEST_F(CompareTest, ChangesSinceSavedFollowAnEditAndAreNoneAfterUndoingBack)
{
    TCompareWindow* compare = Compare("Changessincesaved1");
    ASSERT_NE(compare, nullptr);
    EXPECT_EQ(Rows(compare), QStringList{"No differences"});

    window->Session().StoreElement({SkinCategory::Pictures, "Random"}, ItemValues{40, 100, 0, 0, 0, 0, 0, ""}, 1);
    const QStringList rows = Rows(compare);
    ASSERT_FALSE(rows.isEmpty());
    EXPECT_EQ(rows.front(), "Random: X 10 \u2192 40");
    EXPECT_EQ(compare->Comparison().looks[0].changed, 24); // 12.gif's pixels where it was and where it is

    // A picked row is outlined on both sides, where each draws it.
    const QImage before = compare->ShownSheet(0);
    compare->findChild<QListWidget*>("DifferenceList")->setCurrentRow(0);
    const QPoint backwardOne = SheetLayout().PreviewRect(0, 0).topLeft();
    EXPECT_EQ(compare->ShownSheet(0).pixel(backwardOne + QPoint(9, 99)), TCompareWindow::RowMark);
    EXPECT_EQ(compare->ShownSheet(1).pixel(backwardOne + QPoint(39, 99)), TCompareWindow::RowMark);
    EXPECT_NE(before.pixel(backwardOne + QPoint(9, 99)), TCompareWindow::RowMark);

    window->Session().Undo();
    EXPECT_EQ(Rows(compare), QStringList{"No differences"});
    EXPECT_TRUE(compare->Comparison().Same());
    EXPECT_TRUE(dialogs->errors.empty());
}

TEST_F(CompareTest, CompareWithTakesAFolderFromTheDialogs)
{
    TestSkin other;
    other.WriteComplete();
    other.WriteDescription(SkinWith({"Artist = 88 40 17 2 2 0xE8F0FF00 0x000000FF"}));
    dialogs->fileAnswers.push_back(other.Dir());
    TCompareWindow* compare = Compare("Comparewith1");
    ASSERT_NE(compare, nullptr);
    ASSERT_FALSE(dialogs->fileRequests.empty());
    EXPECT_EQ(dialogs->fileRequests.back().dialog, "CompareDialog");
    const QStringList rows = Rows(compare);
    ASSERT_FALSE(rows.isEmpty());
    EXPECT_EQ(rows.front(), "Artist: colour #E8F0FF \u2192 #FFFFFF");

    // A folder that holds no skin is refused with its reason; the window keeps its comparison.
    dialogs->fileAnswers.push_back(executable.filePath("Files"));
    window->findChild<QAction*>("Comparewith1")->trigger();
    EXPECT_EQ(dialogs->errors.size(), 1u);
    EXPECT_EQ(Rows(compare).front(), "Artist: colour #E8F0FF \u2192 #FFFFFF");
}

} // namespace
