// The page "Problems" in the main window: always current after edits and undo, rows
// as check prints them, and a row that takes the user to its element or picture.
#include "ProblemsPage.h"

#include "SkinChecker.h"
#include "TestSkin.h"
#include "TestWindow.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

class ProblemsPageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WriteTestAssets(executableFolder.path());
        window = MakeTestWindow(executableFolder.path(), dialogs);
    }

    void Open(const std::vector<std::string>& lines = ReferenceSkinLines())
    {
        skin.WritePictures();
        skin.WriteDescription(lines);
        dialogs->fileAnswers.push_back(skin.DescriptionPath());
        window->Open1Click();
        ASSERT_TRUE(dialogs->errors.empty()) << dialogs->errors[0].text.toStdString();
    }

    template <typename Widget>
    Widget* Control(const char* name) const
    {
        auto* widget = window->findChild<Widget*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QTabWidget* Pages() const { return Control<QTabWidget>("PageControl1"); }
    QListWidget* List() const { return Control<QListWidget>("ProblemList"); }
    QString Caption() const { return Pages()->tabText(2); }
    QStringList Rows() const
    {
        QStringList rows;
        for (int i = 0; i < List()->count(); ++i)
            rows << List()->item(i)->text();
        return rows;
    }
    // The page checks a moment after the last change, never during it.
    bool CaptionBecomes(const QString& caption) const
    {
        return QTest::qWaitFor([&] { return Caption() == caption; }, 3000);
    }
    void Retype(QWidget* field, const QString& keys) const
    {
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, keys);
    }
    void SelectInEditor(int category, const QString& name) const
    {
        Control<QComboBox>("CurList")->setCurrentIndex(category);
        auto* items = Control<QListWidget>("SkinItems");
        const auto found = items->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        items->setCurrentItem(found.front());
    }
    int RowOf(const QString& start) const
    {
        for (int i = 0; i < List()->count(); ++i)
            if (List()->item(i)->text().startsWith(start))
                return i;
        ADD_FAILURE() << start.toStdString();
        return -1;
    }

    QTemporaryDir executableFolder;
    TestSkin skin;
    ScriptedDialogs* dialogs = nullptr;
    std::unique_ptr<TMainFrm> window;
};

TEST_F(ProblemsPageTest, TypingABadColourShowsAProblemAGoodOneRemovesItAndUndoBringsItBack)
{
    EXPECT_EQ(QStringList({Pages()->tabText(0), Pages()->tabText(1), Caption()}),
              QStringList({"SkinEditing", "Resources", "Problems"}));
    Open();
    SelectInEditor(0, "Artist");
    auto* colour = Control<QLineEdit>("ColorEdit");

    Retype(colour, "0xFFFFFG00");
    // A burst of keystrokes: nothing checked while it lasts.
    EXPECT_EQ(Caption(), "Problems");
    ASSERT_TRUE(CaptionBecomes("Problems (1)")) << Caption().toStdString();
    EXPECT_EQ(Rows(), QStringList(
                          "Ruvex.rvk:3: \"Artist\": colour \"0xFFFFFG00\" is not \"0x\" and eight hexadecimal digits"));

    window->Session().Commit(); // as leaving the field does: the fix is a step of its own
    Retype(colour, "0x00FF0000");
    ASSERT_TRUE(CaptionBecomes("Problems"));
    EXPECT_EQ(List()->count(), 0);

    window->Undo1Click();
    ASSERT_TRUE(CaptionBecomes("Problems (1)"));
    window->Redo1Click();
    EXPECT_TRUE(CaptionBecomes("Problems"));
    EXPECT_TRUE(dialogs->errors.empty());
}

// What the editor itself never writes (a repeated key, a line no key reads, a missing
// picture) still shows, row for row as vellumark-skin check prints it.
TEST_F(ProblemsPageTest, RowsAreWhatCheckPrintsAndActivatingOneGoesThere)
{
    auto lines = ReferenceSkinLines();
    lines[2] = "Artist = 88 40 17 2 2 0xFFFFFG00 0x000000FF";
    lines.push_back("Album = 88 72 17 1 1 0x0000FF00 0x000000FF");
    lines.push_back("title = 1");
    skin.WritePictures();
    QFile::remove(skin.Path("9.gif"));
    skin.WriteDescription(lines);
    QStringList printed;
    for (const SkinProblem& problem : CheckSkinFolder(skin.Dir()))
        printed << QString::fromStdString(ProblemLine(problem));
    ASSERT_EQ(printed.size(), 4);

    dialogs->fileAnswers.push_back(skin.DescriptionPath());
    window->Open1Click();
    ASSERT_TRUE(CaptionBecomes("Problems (4)"));
    EXPECT_EQ(Rows(), printed);

    window->show(); // a double click needs the rows laid out, the focus a window
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));

    // The editor had "Artist" selected, then the user turned to the pictures: the jump
    // goes back all the same.
    SelectInEditor(0, "Artist");
    Control<QComboBox>("CurList")->setCurrentIndex(1);
    Pages()->setCurrentIndex(2);
    List()->setCurrentRow(RowOf("Ruvex.rvk:3:"));
    QTest::keyClick(List(), Qt::Key_Return);
    EXPECT_EQ(Pages()->currentIndex(), 0);
    EXPECT_EQ(Control<QComboBox>("CurList")->currentIndex(), 0);
    const auto selected = Control<QListWidget>("SkinItems")->selectedItems();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected.front()->text(), "Artist");
    EXPECT_EQ(Control<QLineEdit>("ColorEdit")->text(), "0xFFFFFG00");
    EXPECT_TRUE(Control<QLineEdit>("ColorEdit")->hasFocus()); // the field the problem is in
    EXPECT_EQ(window->Session().Selection(), (ElementRef{SkinCategory::Strings, "Artist"}));

    // A picture's row: its entry on "Resources", with nothing to show and no error box.
    Pages()->setCurrentIndex(2);
    QListWidgetItem* missing = List()->item(RowOf("9.gif:"));
    const QPoint at = List()->visualItemRect(missing).center();
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, at); // a double click's first press
    QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(Pages()->currentIndex(), 1);
    EXPECT_EQ(Control<QListWidget>("ImgListBox")->currentRow(), 9);
    EXPECT_TRUE(dialogs->errors.empty());
}
