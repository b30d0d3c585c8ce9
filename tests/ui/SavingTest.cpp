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

class SavingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WriteTestAssets(executable.path());
        window = MakeTestWindow(executable.path(), dialogs);
        skin.WriteComplete();
        dialogs->fileAnswers.push_back(skin.DescriptionPath());
        window->Open1Click();
        ASSERT_TRUE(dialogs->errors.empty()) << dialogs->errors[0].text.toStdString();
    }
    QAction* Save() const { return window->findChild<QAction*>("Save1"); }
    void SaveAs(const QString& chosen, std::deque<bool> answers = {})
    {
        dialogs->fileAnswers.push_back(chosen);
        dialogs->confirmAnswers = std::move(answers);
        window->Saveas1Click();
    }

    QTemporaryDir executable;
    QTemporaryDir parent;
    TestSkin skin;
    ScriptedDialogs* dialogs = nullptr;
    std::unique_ptr<TestWindow> window;
};

TEST_F(SavingTest, SaveAsMakesATypedFolderAsksBeforeOtherFilesAndSaveWritesThereAgain)
{
    ASSERT_NE(Save(), nullptr);
    EXPECT_FALSE(Save()->isEnabled()); // after a plain Open: the opened folder is never written

    // A name that is neither a folder nor Ruvex.rvk: the skin would go into its folder.
    const QString skins = parent.filePath("skins");
    ASSERT_TRUE(QDir().mkpath(skins));
    for (const char* other : {"notes.txt", "cover.png"})
        QFile(QDir(skins).filePath(other)).open(QIODevice::WriteOnly);
    SaveAs(QDir(skins).filePath("myskin"), {false});
    ASSERT_EQ(dialogs->confirmQuestions.size(), 1u);
    EXPECT_EQ(dialogs->confirmQuestions[0], "Write the skin into " + skins + " (its Ruvex.rvk and pictures)?");
    SaveAs(QDir(skins).filePath("Ruvex.rvk"), {false}); // a folder of other files
    ASSERT_EQ(dialogs->confirmQuestions.size(), 2u);
    EXPECT_EQ(dialogs->confirmQuestions[1],
              skins + " holds 2 other files. Write the skin's Ruvex.rvk and 0.gif to 14.gif into it?");
    EXPECT_EQ(Entries(skins).size(), 2); // nothing written on No

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
    const std::size_t asked = dialogs->fileRequests.size();
    Save()->trigger();
    EXPECT_EQ(dialogs->fileRequests.size(), asked);
    EXPECT_TRUE(dialogs->errors.empty());
    EXPECT_EQ(ReadAll(QDir(final).filePath("Ruvex.rvk")), JoinCrLf(window->Document().Lines.Lines()));
    EXPECT_FALSE(window->isWindowModified());

    // A plain Open greys it again.
    dialogs->fileAnswers.push_back(skin.DescriptionPath());
    window->Open1Click();
    EXPECT_FALSE(Save()->isEnabled());
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
