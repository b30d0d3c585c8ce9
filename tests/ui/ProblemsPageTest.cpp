// The page "Problems" in the main window: always current after edits and undo, rows
// as check prints them, and a row that takes the user to its element or picture.
#include "ProblemsPage.h"

#include "SkinFolderCheck.h"
#include "SkinError.h"
#include "TestSkin.h"
#include "UserInput.h"
#include "TestWindow.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
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
        // No right soft label: the reference skin's runs past the bottom whatever its
        // text (the anchor places only the left one), and these tests are about problems.
        window->Session().SetSampleTexts(TextLines{"03/12", "List", "Artist", "Title", "Album", "3:45", "1:02", "-2:43",
                                                   "Menu", ""});
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
        Choose(Control<QComboBox>("CurList"), category);
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
    std::unique_ptr<TestWindow> window;
};

TEST_F(ProblemsPageTest, TypingABadColorShowsAProblemAGoodOneRemovesItAndUndoBringsItBack)
{
    EXPECT_EQ(QStringList({Pages()->tabText(0), Pages()->tabText(1), Caption()}),
              QStringList({"SkinEditing", "Resources", "Problems"}));
    Open();
    SelectInEditor(0, "Artist");
    auto* color = Control<QLineEdit>("ColorEdit");

    Retype(color, "0xFFFFFG00");
    // A burst of keystrokes: nothing checked while it lasts.
    EXPECT_EQ(Caption(), "Problems");
    ASSERT_TRUE(CaptionBecomes("Problems (1)")) << Caption().toStdString();
    EXPECT_EQ(Rows(), QStringList(
                          "Ruvex.rvk:3: \"Artist\": colour \"0xFFFFFG00\" is not \"0x\" and eight hexadecimal digits"));

    window->Session().Commit(); // as leaving the field does: the fix is a step of its own
    Retype(color, "0x00FF0000");
    ASSERT_TRUE(CaptionBecomes("Problems"));
    EXPECT_EQ(List()->count(), 0);

    window->findChild<QAction*>("Undo1")->trigger();
    ASSERT_TRUE(CaptionBecomes("Problems (1)"));
    window->findChild<QAction*>("Redo1")->trigger();
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
    Choose(Control<QComboBox>("CurList"), 1);
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

// A skin with a word that is no number: the error says where, the title says the
// preview is not drawn, and the row opens the line as text; the text written back is
// one undo step, drawn like an edit, and leaves every other line as it was.
TEST_F(ProblemsPageTest, ALineThatCannotBeReadSaysWhereAndIsMendedAsTextFromItsRow)
{
    Open(); // a readable skin first: its drawing stays on the preview
    const QImage before = window->Surface();
    std::vector<std::string> lines = ReferenceSkinLines();
    const int artist = SkinLines(lines).FindKey("Artist");
    const std::string number = std::to_string(artist + 1);
    const std::string broken = "Artist = 50 forty 17 1 255 0x10203000 0x000000FF";
    const std::string mended = "Artist = 50 40 17 1 255 0x10203000 0x000000FF";
    lines[static_cast<std::size_t>(artist)] = broken;
    TestSkin harbour2;
    harbour2.WritePictures();
    harbour2.WriteDescription(lines);
    dialogs->fileAnswers.push_back(harbour2.DescriptionPath());
    window->Open1Click();

    ASSERT_EQ(dialogs->errors.size(), 1u);
    EXPECT_EQ(dialogs->errors[0].text.toStdString(),
              "Ruvex.rvk:" + number + ": \"Artist\": 'forty' is not a valid integer value.");
    const QString name = QFileInfo(harbour2.Dir()).fileName();
    EXPECT_EQ(window->windowTitle(), name + "[*] (not drawn: a line cannot be read) - Vellumark v0.3");
    EXPECT_EQ(window->Surface(), before);

    window->findChild<ProblemsPage*>()->Recheck();
    List()->setCurrentRow(RowOf(QString::fromStdString("Ruvex.rvk:" + number + ":")));
    dialogs->lineAnswers = {QString::fromStdString(mended)};
    window->findChild<ProblemsPage*>()->ProblemListActivated();
    EXPECT_EQ(dialogs->lineRequests, (std::vector<QString>{QString::fromStdString(broken)}));
    EXPECT_EQ(dialogs->errors.size(), 1u);
    std::vector<std::string> expected = lines;
    expected[static_cast<std::size_t>(artist)] = mended;
    EXPECT_EQ(window->Document().Lines.Lines(), expected);
    EXPECT_EQ(window->Document().Model.TextItems[ArtistItem].Y, 40);
    EXPECT_NE(window->Surface(), before);
    EXPECT_EQ(window->windowTitle(), name + "[*] - Vellumark v0.3");
    EXPECT_TRUE(window->isWindowModified());
    EXPECT_EQ(window->Session().History().count(), 1);

    window->findChild<QAction*>("Undo1")->trigger(); // one step takes it all back, and the error with its place comes again
    EXPECT_EQ(window->Document().Lines.Lines(), lines);
    EXPECT_EQ(dialogs->errors.size(), 2u);
    EXPECT_EQ(window->windowTitle(), name + "[*] (not drawn: a line cannot be read) - Vellumark v0.3");

    // A line break would add a line: refused, nothing changes.
    EXPECT_THROW(window->Session().ReplaceLineText(artist, "Artist = 1\r\nTitle = 2"), SkinError);
    EXPECT_EQ(window->Document().Lines.Lines(), lines);
}

// A text whose anchor point is off the screen in its row only goes to Y, as a picture's
// and a rectangle's problem does; one off in its column goes to X. So does the right
// soft label, which mirrors SoftLabel's X.
TEST_F(ProblemsPageTest, ATextOffTheScreenOnlyInItsRowPutsTheCursorInY)
{
    auto lines = ReferenceSkinLines();
    lines[2] = "Artist = 88 400 17 2 2 0xFFFFFF00 0x000000FF";
    lines[4] = "Album = 400 72 17 1 1 0x0000FF00 0x000000FF";
    lines[8] = "SoftLabel = 2 300 20 1 255 0x00000000 0x000000FF";
    Open(lines);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Caption().startsWith("Problems (4"); }, 3000)) << Caption().toStdString();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    const auto focusedAfter = [&](const QString& row) {
        Pages()->setCurrentIndex(2);
        List()->setCurrentRow(RowOf(row));
        window->findChild<ProblemsPage*>()->ProblemListActivated();
        for (QWidget* focused = QApplication::focusWidget(); focused != nullptr; focused = focused->parentWidget())
            if (focused->objectName() == "XEdit" || focused->objectName() == "YEdit")
                return focused->objectName();
        return QString();
    };
    EXPECT_EQ(focusedAfter("Ruvex.rvk:3: \"Artist\": anchor point (88, 400)"), "YEdit");
    EXPECT_EQ(focusedAfter("Ruvex.rvk:5: \"Album\": anchor point (400, 72)"), "XEdit");
    EXPECT_EQ(focusedAfter("Ruvex.rvk:9: \"SoftLabel\": anchor point"), "YEdit");
    EXPECT_EQ(focusedAfter("Ruvex.rvk:9: \"SoftLabel\": the right soft label's"), "YEdit");
    EXPECT_TRUE(dialogs->errors.empty());
}
