// View › Sample texts on the example skin: the sets switch with one click, the
// Problems page warns where a text does not fit (as check does), and the author's own
// texts follow each keystroke and outlast the editor.
#include "AllStatesWindow.h"
#include "PngExport.h"
#include "ProblemsPage.h"
#include "SampleTextSets.h"
#include "StatesSheet.h"
#include "TestWindow.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QSettings>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <set>

namespace {

const QString ExampleSkin = QStringLiteral(VELLUMARK_SOURCE_DIR "/examples/skins/harbour");

class SampleTextsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QSettings().remove("SampleTexts");
        WriteTestAssets(executableFolder.path());
        // The shipped texts, so Shipped is what the program shows.
        QFile::remove(executableFolder.filePath("Files/LangRuvex.txt"));
        ASSERT_TRUE(QFile::copy(VELLUMARK_SOURCE_DIR "/assets/Files/LangRuvex.txt",
                                executableFolder.filePath("Files/LangRuvex.txt")));
        MakeWindow();
    }
    void TearDown() override { QSettings().remove("SampleTexts"); }

    void MakeWindow()
    {
        window.reset();
        window = MakeTestWindow(executableFolder.path(), dialogs);
        dialogs->fileAnswers.push_back(ExampleSkin + "/Ruvex.rvk");
        window->Open1Click();
        ASSERT_TRUE(dialogs->errors.empty()) << dialogs->errors[0].text.toStdString();
        window->Sampletexts1Click();
        texts = window->findChild<QWidget*>("SampleTextsWindow");
        ASSERT_NE(texts, nullptr);
    }

    template <typename Widget>
    Widget* Control(QWidget* in, const char* name) const
    {
        auto* widget = in->findChild<Widget*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    void Choose(const char* button) { Control<QAbstractButton>(texts, button)->click(); }
    ProblemsPage* Page() const { return Control<ProblemsPage>(window.get(), "ProblemsPage"); }
    QString Caption() const
    {
        auto* pages = Control<QTabWidget>(window.get(), "PageControl1");
        return pages->tabText(2);
    }
    // The page's warning rows once it has checked again.
    QStringList WarningRows()
    {
        Page()->Recheck();
        QStringList rows;
        auto* list = Control<QListWidget>(window.get(), "ProblemList");
        for (int i = 0; i < list->count(); ++i)
            if (list->item(i)->text().contains(" warning: "))
                rows << list->item(i)->text();
        return rows;
    }
    std::set<std::string> WarnedKeys() const
    {
        std::set<std::string> keys;
        for (const SkinProblem& warning : Page()->Warnings())
            keys.insert(warning.key);
        return keys;
    }

    QTemporaryDir executableFolder;
    ScriptedDialogs* dialogs = nullptr;
    std::unique_ptr<TestWindow> window;
    QWidget* texts = nullptr;
};

struct CheckRun {
    int exitCode = -1;
    QStringList lines;
};

CheckRun Check(const QStringList& options)
{
    QProcess check;
    check.start(VELLUMARK_SKIN_EXE, QStringList{"check"} + options + QStringList{ExampleSkin});
    EXPECT_TRUE(check.waitForFinished(60000));
    const QString out = QString::fromLatin1(check.readAllStandardOutput());
    return {check.exitCode(), out.split('\n', Qt::SkipEmptyParts)};
}

} // namespace

TEST_F(SampleTextsTest, LongWarnsAsCheckDoesAndItsRowSelectsTheElementShortWarnsOfNothingNew)
{
    Choose("ShippedButton");
    const QStringList shipped = WarningRows();
    const std::set<std::string> shippedKeys = WarnedKeys();

    Choose("LongButton");
    EXPECT_EQ(window->Session().SampleTexts(), LongSampleTexts());
    const QStringList rows = WarningRows();
    ASSERT_FALSE(rows.empty());
    EXPECT_TRUE(Caption().endsWith(QString(", %1 warning%2)").arg(rows.size()).arg(rows.size() == 1 ? "" : "s")))
        << Caption().toStdString();
    const CheckRun check = Check({"--texts", "long"});
    EXPECT_EQ(check.exitCode, 0); // warnings alone
    EXPECT_EQ(check.lines, rows);
    EXPECT_EQ(Check({"--texts", "long", "--strict"}).exitCode, 1);
    EXPECT_EQ(Check({"--strict"}).exitCode, shipped.empty() ? 0 : 1);

    // The row of a warning goes to its element, as a problem's does.
    auto* list = Control<QListWidget>(window.get(), "ProblemList");
    const SkinProblem warning = Page()->Warnings().back();
    list->setCurrentRow(list->count() - 1);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(window->Session().Selection(), (ElementRef{SkinCategory::Strings, warning.key}));

    // All states and the export draw with them too.
    const QImage sheet = DrawStatesSheet(window->Document(), LongSampleTexts(), window->Session().Settings());
    EXPECT_NE(sheet, DrawStatesSheet(window->Document(), window->Session().Settings()));
    window->Allstates1Click();
    auto* allStates = window->findChild<TAllStatesWindow*>();
    ASSERT_NE(allStates, nullptr);
    QCoreApplication::processEvents();
    EXPECT_EQ(allStates->Sheet(), sheet);
    const QString exported = executableFolder.filePath("sheet.png");
    dialogs->scaleAnswers = {1};
    dialogs->fileAnswers = {exported};
    window->Exportallstates1Click();
    EXPECT_EQ(QImage(exported).convertToFormat(QImage::Format_RGB32), sheet);

    Choose("ShortButton");
    WarningRows();
    for (const std::string& key : WarnedKeys())
        EXPECT_TRUE(shippedKeys.count(key)) << key;
    EXPECT_TRUE(dialogs->errors.empty());
}

TEST_F(SampleTextsTest, ATypedTextIsDrawnAtEachKeystrokeAsCustomAndOutlastsTheEditor)
{
    auto* table = Control<QTableWidget>(texts, "SampleTextTable");
    const QImage shipped = window->Session().Surface().copy();
    table->setCurrentCell(2, 1);
    table->editItem(table->item(2, 1));
    auto* edit = Control<QLineEdit>(table, "SampleTextEdit");
    ASSERT_NE(edit, nullptr);
    edit->selectAll();
    QTest::keyClicks(edit, "W");
    // One key: Custom, drawn already, and no step of the skin.
    EXPECT_TRUE(Control<QAbstractButton>(texts, "CustomButton")->isChecked());
    EXPECT_EQ(window->Session().SampleTexts().at(2), "W");
    EXPECT_EQ(window->Session().SampleTexts().at(3), "Harbour Lights"); // the others as shown
    EXPECT_NE(window->Session().Surface(), shipped);
    QTest::keyClicks(edit, "ren");
    EXPECT_EQ(window->Session().SampleTexts().at(2), "Wren");
    EXPECT_EQ(window->Session().History().count(), 0);
    EXPECT_FALSE(window->Session().IsModified());
    QTest::keyClick(edit, Qt::Key_Return);

    // Another set and back: Custom kept its texts; a new editor starts with them.
    Choose("LongButton");
    Choose("CustomButton");
    EXPECT_EQ(window->Session().SampleTexts().at(2), "Wren");
    MakeWindow();
    EXPECT_TRUE(Control<QAbstractButton>(texts, "CustomButton")->isChecked());
    EXPECT_EQ(window->Session().SampleTexts().at(2), "Wren");
    EXPECT_EQ(Control<QTableWidget>(texts, "SampleTextTable")->item(2, 1)->text(), "Wren");
}
