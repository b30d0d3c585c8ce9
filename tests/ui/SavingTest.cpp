// Where a skin is written: Save as into a typed folder that does not exist yet, the
// questions before a name that is no folder or a folder of other files, File › Save
// into the folder of the last Save as, and a typed new folder in New skin's dialog.
#include "MainWindow.h"

#include "QtDialogService.h"
#include "RecentSkins.h"
#include "TestSkin.h"
#include "TestWindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QStatusBar>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

std::string ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "<missing>";
}

QStringList Entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

class SavingTest : public OpenedSkinTest {
protected:
    QAction* Save() const { return window->findChild<QAction*>("Save1"); }
    // The status bar's line; "<none>" without one.
    QString Status() const
    {
        const auto* line = window->findChild<QLabel*>("StatusMessage");
        return line != nullptr ? line->text() : QStringLiteral("<none>");
    }
    void SaveAs(const QString& chosen, std::deque<bool> answers = {})
    {
        dialogs->fileAnswers.push_back(chosen);
        dialogs->confirmAnswers = std::move(answers);
        window->Saveas1Click();
    }

    QTemporaryDir parent;
};

TEST_F(SavingTest, SaveAsMakesATypedFolderAsksBeforeOtherFilesAndSaveWritesThereAgain)
{
    ASSERT_NE(Save(), nullptr);
    EXPECT_TRUE(Save()->isEnabled()); // after a plain Open: into the opened folder, asked first

    // A file that is not Ruvex.rvk: the skin would go into its folder. No goes back to
    // the dialog, where another name can be chosen (here: cancelled).
    const QString skins = parent.filePath("skins");
    ASSERT_TRUE(QDir().mkpath(skins));
    for (const char* other : {"notes.txt", "cover.png"})
        QFile(QDir(skins).filePath(other)).open(QIODevice::WriteOnly);
    std::size_t asked = dialogs->fileRequests.size();
    SaveAs(QDir(skins).filePath("notes.txt"), {false});
    ASSERT_EQ(dialogs->confirmQuestions.size(), 1u);
    EXPECT_EQ(dialogs->confirmQuestions[0], "Write the skin into " + skins + " (its Ruvex.rvk and pictures)?");
    EXPECT_EQ(dialogs->fileRequests.size(), asked + 2);
    SaveAs(QDir(skins).filePath("Ruvex.rvk"), {false}); // a folder of other files
    ASSERT_EQ(dialogs->confirmQuestions.size(), 2u);
    EXPECT_EQ(dialogs->confirmQuestions[1],
              skins + " holds 2 other files. Write the skin's Ruvex.rvk and 0.gif to 14.gif into it?");
    EXPECT_EQ(Entries(skins).size(), 2); // nothing written on No

    // A typed name of nothing there: made as a folder, one level, as New skin does.
    SaveAs(QDir(skins).filePath("night-final"));
    EXPECT_EQ(dialogs->confirmQuestions.size(), 2u);
    EXPECT_EQ(Entries(QDir(skins).filePath("night-final")).size(), 16);

    // A folder that does not exist yet is made, one level, and written.
    const QString final = parent.filePath("final");
    SaveAs(QDir(final).filePath("Ruvex.rvk"));
    ASSERT_TRUE(dialogs->errors.empty()) << dialogs->errors[0].text.toStdString();
    EXPECT_EQ(Entries(final).size(), 16);
    EXPECT_EQ(RecentSkins().Entries().value(0), QDir(final).filePath("Ruvex.rvk"));
    EXPECT_TRUE(Save()->isEnabled());
    SaveAs(parent.filePath("a/b/Ruvex.rvk"));
    ASSERT_EQ(dialogs->errors.size(), 1u);
    EXPECT_FALSE(QFileInfo::exists(parent.filePath("a")));
    dialogs->errors.clear();

    // Save writes where the last Save as wrote, without a dialog.
    window->Session().StoreElement({SkinCategory::Objects, "Background"}, ItemValues{1, 2, 30, 40, 0, 0, 0, "0x11"}, 0);
    EXPECT_TRUE(window->isWindowModified());
    asked = dialogs->fileRequests.size();
    Save()->trigger();
    EXPECT_EQ(dialogs->fileRequests.size(), asked);
    EXPECT_TRUE(dialogs->errors.empty());
    EXPECT_EQ(ReadAll(QDir(final).filePath("Ruvex.rvk")), JoinCrLf(window->Document().Lines.Lines()));
    EXPECT_FALSE(window->isWindowModified());

    EXPECT_TRUE(dialogs->openedFolderQuestions.empty()); // a folder saved into is not asked about
}

// Save after an Open writes the skin back where it came from, asking once; the close
// question offers it beside Save as..., and the status bar says where it went.
TEST_F(SavingTest, SaveAfterAnOpenAsksOnceThenWritesIntoTheOpenedFolder)
{
    const auto edit = [&](int x) {
        window->Session().StoreElement({SkinCategory::Objects, "Background"}, ItemValues{x, 2, 30, 40, 0, 0, 0, "0x11"}, 0);
    };
    const QString written = skin.Path("Ruvex.rvk");
    const std::string opened = ReadAll(written);
    edit(1);
    const QString question = "Write the changes into " + skin.Dir() + ", the folder it was opened from?";
    Save()->trigger(); // Cancel: nothing written
    EXPECT_EQ(dialogs->openedFolderQuestions, std::vector<QString>{question});
    EXPECT_EQ(ReadAll(written), opened);
    EXPECT_TRUE(window->isWindowModified());

    dialogs->openedFolderAnswers = {OpenedFolderAnswer::Save};
    Save()->trigger();
    EXPECT_EQ(ReadAll(written), JoinCrLf(window->Document().Lines.Lines()));
    EXPECT_EQ(Entries(skin.Dir()).size(), 16);
    EXPECT_FALSE(window->isWindowModified());
    EXPECT_EQ(Status(), "Saved to " + skin.Dir());

    edit(2); // later Saves of that skin ask nothing
    Save()->trigger();
    EXPECT_EQ(dialogs->openedFolderQuestions.size(), 2u);
    EXPECT_EQ(ReadAll(written), JoinCrLf(window->Document().Lines.Lines()));

    // Closing with changes offers Save, which writes there.
    edit(3);
    dialogs->unsavedAnswers = {UnsavedChangesAnswer::Save};
    window->close();
    EXPECT_EQ(dialogs->unsavedOfferedSave, std::vector<bool>{true});
    EXPECT_EQ(ReadAll(written), JoinCrLf(window->Document().Lines.Lines()));
    EXPECT_TRUE(dialogs->errors.empty());

    // Another Open asks again; Save as... there saves as.
    dialogs->fileAnswers.push_back(skin.DescriptionPath());
    window->Open1Click();
    edit(4);
    const QString elsewhere = parent.filePath("elsewhere");
    dialogs->openedFolderAnswers = {OpenedFolderAnswer::SaveAs};
    dialogs->fileAnswers.push_back(elsewhere);
    Save()->trigger();
    EXPECT_EQ(dialogs->openedFolderQuestions.size(), 3u);
    EXPECT_EQ(Entries(elsewhere).size(), 16);
    EXPECT_EQ(Status(), "Saved to " + elsewhere);
}

// Qt's folder dialog refuses a name of a folder that does not exist ("Directory not
// found"): New skin's takes it, in a folder that exists.
TEST(NewSkinDialog, TakesATypedFolderThatDoesNotExistYet)
{
    QTemporaryDir parent;
    const QString typed = parent.filePath("myskin");
    QtDialogService dialogs(nullptr);
    // Qt's refusal ("Directory not found") is a message box inside the typing's key
    // press, where that timer cannot fire again: a second one ends it, and the test fails.
    QTimer refusal;
    refusal.setInterval(50);
    QObject::connect(&refusal, &QTimer::timeout, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(widget); box != nullptr && box->isVisible()) {
                box->reject();
                for (QWidget* other : QApplication::topLevelWidgets())
                    if (qobject_cast<QFileDialog*>(other) != nullptr)
                        QMetaObject::invokeMethod(other, "reject", Qt::QueuedConnection);
            }
    });
    refusal.start();
    QTimer typing;
    typing.setInterval(50);
    QObject::connect(&typing, &QTimer::timeout, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QFileDialog*>(widget);
            auto* edit = dialog != nullptr && dialog->isVisible() ? dialog->findChild<QLineEdit*>("fileNameEdit") : nullptr;
            if (edit == nullptr)
                continue;
            typing.stop();
            edit->setText(typed);
            QTest::keyClick(edit, Qt::Key_Return);
            return;
        }
    });
    typing.start();
    EXPECT_EQ(dialogs.ChooseNewSkinFolder(), typed);
}

// An export says what it wrote, in the status bar beneath the window's pages.
TEST_F(SavingTest, AnExportSaysInTheStatusBarWhatItWrote)
{
    const QString png = parent.filePath("night-states.png");
    dialogs->scaleAnswers = {2};
    dialogs->fileAnswers.push_back(png);
    window->Exportallstates1Click();
    ASSERT_TRUE(dialogs->errors.empty()) << dialogs->errors[0].text.toStdString();
    const QImage written(png);
    ASSERT_FALSE(written.isNull());
    EXPECT_EQ(Status(),
              QStringLiteral("Wrote %1 (%2\u00d7%3)").arg(png).arg(written.width()).arg(written.height()));
    // Beneath: the pages keep their place and their whole height.
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    EXPECT_EQ(window->findChild<QWidget*>("PageControl1")->geometry(), QRect(184, 0, 313, 297));
    EXPECT_GE(window->centralWidget()->height(), 297);
    EXPECT_GE(window->statusBar()->geometry().top(), window->centralWidget()->geometry().bottom());
}
