#include "MainWindow.h"

#include "AboutBox.h"
#include "GifWriter.h"
#include "PngExport.h"
#include "PreviewView.h"
#include "SkinColors.h"
#include "SkinError.h"
#include "ScriptedDialogs.h"
#include "TestSkin.h"
#include "TestWindow.h"
#include "NumberField.h"
#include "VolumeField.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QFocusEvent>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QTabBar>
#include <QListWidget>
#include <QPushButton>
#include <QStyleOptionComboBox>
#include <QTemporaryDir>
#include <QTest>
#include <QDoubleSpinBox>
#include <QTreeWidget>
#include <QUndoView>

#include <gtest/gtest.h>

namespace {

std::string ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "<missing>";
}

bool IsOneColor(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != image.pixel(0, 0))
                return false;
    return true;
}

} // namespace

class MainWindowTest : public ::testing::Test {
protected:
    QString Beside(const QString& relative) const { return executableFolder.filePath(relative); }
    QString WorkingCopy() const { return Beside("Temp/Ruvex.rvk"); }

    TestWindow& Start(bool statusLine = true, bool sampleTexts = true)
    {
        WriteTestAssets(executableFolder.path(), statusLine, sampleTexts);
        window.reset();
        window = MakeTestWindow(executableFolder.path(), dialogs);
        return *window;
    }

    void Open(const std::optional<QString>& chosen)
    {
        dialogs->fileAnswers.push_back(chosen);
        window->Open1Click();
    }

    void OpenTestSkin()
    {
        skin.WriteComplete();
        Open(skin.DescriptionPath());
        ASSERT_TRUE(dialogs->errors.empty()) << dialogs->errors[0].text.toStdString();
    }

    template <typename Widget>
    Widget* Control(const char* name) const
    {
        auto* widget = window->findChild<Widget*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    // An edit made in memory only, as the property editor makes them.
    void EditBackground() const
    {
        window->Session().StoreElement({SkinCategory::Objects, "Background"}, ItemValues{1, 2, 30, 40, 0, 0, 0, "0x11"},
                                       0);
    }

    QTemporaryDir executableFolder;
    TestSkin skin;
    ScriptedDialogs* dialogs = nullptr;
    std::unique_ptr<TestWindow> window;
};

TEST_F(MainWindowTest, StartUpWithTheAssetsShowsNoErrorAndAWhitePreview)
{
    Start().show();
    EXPECT_TRUE(dialogs->errors.empty());
    EXPECT_EQ(window->windowTitle(), "Vellumark v0.3");
    EXPECT_EQ(window->Document().LangLines.size(), 10u);
    EXPECT_FALSE(window->Document().Pictures[StatusLineSlot].isNull());

    EXPECT_TRUE(window->Surface().isNull());
    const QImage shown = Control<QWidget>("Shape1")->grab().toImage();
    EXPECT_EQ(shown.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_TRUE(IsOneColor(shown.copy(1, 1, 176, 220)));
    EXPECT_EQ(shown.pixel(88, 110), qRgb(255, 255, 255));
}

TEST_F(MainWindowTest, MissingAssetsShowOneErrorBoxWithTheFullPathAndTheWindowOpens)
{
    Start(false, true).show();
    ASSERT_EQ(dialogs->errors.size(), 1u);
    EXPECT_EQ(dialogs->errors[0].title, "Vellumark");
    const QString& text = dialogs->errors[0].text;
    EXPECT_TRUE(text.startsWith("Cannot open file \"" + Beside("Files/statusline.gif") + "\". ")) << text.toStdString();
    EXPECT_TRUE(text.endsWith("."));
    EXPECT_EQ(window->Document().LangLines.size(), 10u); // read all the same
    EXPECT_TRUE(window->isVisible());

    QFile::remove(Beside("Files/LangRuvex.txt"));
    Start(false, false).show();
    ASSERT_EQ(dialogs->errors.size(), 1u);
    EXPECT_TRUE(dialogs->errors[0].text.contains(Beside("Files/LangRuvex.txt")));
    EXPECT_TRUE(window->isVisible());
}

TEST_F(MainWindowTest, PreviewSettingsDrawNothingBeforeAnOpenAndRedrawAfterIt)
{
    Start();
    auto* volumeShown = Control<QCheckBox>("VolumeCB");
    auto* volume = Control<VolumeField>("VolEdit1");
    auto* playState = Control<QComboBox>("PlayStatus");
    auto* repetition = Control<QComboBox>("RepetitionSt");
    volumeShown->setChecked(true);
    volume->SetValue(5);
    playState->setCurrentIndex(3);
    repetition->setCurrentIndex(1);
    EXPECT_TRUE(window->Surface().isNull());

    OpenTestSkin();
    ASSERT_FALSE(window->Surface().isNull());
    const auto redraws = [&](const std::function<void()>& change) {
        const QImage before = window->Surface().copy();
        change();
        EXPECT_EQ(Control<PreviewView>("ScreenSkin")->Shown(), ColorKeyed(window->Surface()));
        return window->Surface() != before;
    };
    EXPECT_TRUE(redraws([&] { volume->SetValue(1); }));
    EXPECT_TRUE(redraws([&] { playState->setCurrentIndex(1); }));
    EXPECT_TRUE(redraws([&] { repetition->setCurrentIndex(0); }));
    EXPECT_TRUE(redraws([&] { volumeShown->setChecked(false); }));
    EXPECT_TRUE(dialogs->errors.empty());
}

TEST_F(MainWindowTest, ThePreviewSettingsKeepTheirPlacesBeneathThePreview)
{
    // Where they sit in the window's client area, whatever widget holds them.
    const QWidget* client = Start().centralWidget();
    for (const auto& [name, place] : {std::pair{"VolumeCB", QRect(0, 224, 65, 17)}, std::pair{"VolEdit1", QRect(72, 224, 57, 22)},
                                      std::pair{"PlayStatus", QRect(48, 248, 81, 22)},
                                      std::pair{"RepetitionSt", QRect(0, 272, 129, 22)}}) {
        const QWidget* control = Control<QWidget>(name);
        EXPECT_EQ(QRect(control->mapTo(client, QPoint(0, 0)), control->size()), place) << name;
    }
    EXPECT_EQ(Control<QLabel>("Label1")->mapTo(client, QPoint(0, 0)), QPoint(0, 248));
}

TEST_F(MainWindowTest, ATypedVolumeOfNineFillsPastTheBarUntilTheFieldLosesTheFocus)
{
    Start().show();
    OpenTestSkin(); // VolumeBar = 60 170 50 5, blue: level 9 fills 64 pixels, 7 fills 50
    Control<QCheckBox>("VolumeCB")->setChecked(true);
    auto* volume = Control<VolumeField>("VolEdit1");
    volume->setFocus();
    volume->selectAll();
    QTest::keyClicks(volume, "9");
    EXPECT_EQ(window->Surface().pixel(115, 172), qRgb(0, 0, 255));
    QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason); // leaving the field brings it to 7
    QApplication::sendEvent(volume, &leave);
    EXPECT_EQ(volume->text(), "7");
    EXPECT_NE(window->Surface().pixel(115, 172), qRgb(0, 0, 255));
}

TEST_F(MainWindowTest, OpeningTheExampleSkinDrawsItsPreview)
{
    const QString example = VELLUMARK_SOURCE_DIR "/examples/skins/harbour/Ruvex.rvk";
    Start();
    Open(example);
    ASSERT_TRUE(dialogs->errors.empty()) << dialogs->errors[0].text.toStdString();
    EXPECT_EQ(window->Document().SkinFileName, WorkingCopy());
    EXPECT_EQ(ReadAll(WorkingCopy()), ReadAll(example));
    ASSERT_FALSE(window->Surface().isNull());
    EXPECT_FALSE(IsOneColor(window->Surface()));
    EXPECT_EQ(Control<PreviewView>("ScreenSkin")->Shown(), ColorKeyed(window->Surface()));
}

TEST_F(MainWindowTest, AFailedOpenShowsTheErrorBoxAndDrawsNothing)
{
    Start();
    QTemporaryDir withoutDescription;
    Open(withoutDescription.filePath("Ruvex.rvk"));
    ASSERT_EQ(dialogs->errors.size(), 1u);
    EXPECT_EQ(dialogs->errors[0].title, "Vellumark");
    EXPECT_EQ(dialogs->errors[0].text, "Cannot open file \"" + WorkingCopy() + "\". No such file or directory.");
    EXPECT_FALSE(window->Document().SkinLoaded);
    EXPECT_TRUE(window->Surface().isNull());
}

TEST_F(MainWindowTest, SaveAsIsRefusedBeforeAnOpenAndWritesTheEditedSkinAfterIt)
{
    Start();
    QTemporaryDir destination;
    const QString chosen = destination.filePath("chosen.name");
    window->Saveas1Click();
    ASSERT_EQ(dialogs->errors.size(), 1u);
    EXPECT_EQ(dialogs->errors[0].text, "Open a skin before saving it.");
    EXPECT_TRUE(dialogs->fileRequests.empty()); // refused before asking for a folder

    dialogs->errors.clear();
    OpenTestSkin();
    EditBackground();
    QFile(chosen).open(QIODevice::WriteOnly);
    dialogs->fileAnswers.push_back(chosen);
    // "chosen.name" is a file of another name: write into its folder? It holds that file: write among it?
    dialogs->confirmAnswers = {true, true, true, true};
    window->Saveas1Click();
    EXPECT_TRUE(dialogs->errors.empty());
    // The dialog starts beside the opened skin's folder, then where the last Save as went.
    const QString skinFolder = QFileInfo(skin.DescriptionPath()).absolutePath();
    EXPECT_EQ(dialogs->fileRequests.back().initialFile, QFileInfo(skinFolder).absolutePath() + "/Ruvex.rvk");
    EXPECT_EQ(ReadAll(destination.filePath("Ruvex.rvk")), JoinCrLf(window->Document().Lines.Lines()));
    dialogs->fileAnswers.push_back(chosen);
    window->Saveas1Click();
    EXPECT_EQ(dialogs->fileRequests.back().initialFile, chosen);
    EXPECT_EQ(dialogs->confirmQuestions.size(), 4u);
    EXPECT_NE(ReadAll(destination.filePath("Ruvex.rvk")), ReadAll(skin.DescriptionPath()));
    for (int number = 0; number < SkinPictureCount; ++number)
        EXPECT_EQ(ReadAll(destination.filePath(PictureFileName(number))), ReadAll(skin.Path(PictureFileName(number))));
    EXPECT_EQ(ReadAll(chosen), ""); // the file named is left as it was
    EXPECT_EQ(ReadAll(WorkingCopy()), ReadAll(skin.DescriptionPath())); // Save as leaves the working copy
}

TEST_F(MainWindowTest, TheAboutMenuShowsTheAboutBoxUntilOk)
{
    Start();
    TAbout about(window.get());
    window->SetAboutBox(&about);
    dialogs->whileModalShown = [&](QDialog& shown) {
        EXPECT_EQ(&shown, &about);
        EXPECT_EQ(shown.findChild<QLabel*>("ProgVer")->text(), window->windowTitle());
        QTest::mouseClick(shown.findChild<QPushButton*>("sButton1"), Qt::LeftButton);
    };
    Control<QAction>("About1")->trigger();
    EXPECT_EQ(dialogs->modals.size(), 1u);
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

TEST_F(MainWindowTest, ExitAsksOnlyAboutChangesNotSavedAndAlwaysKeepsTheWorkingCopy)
{
    Start().show();
    OpenTestSkin();
    Control<QAction>("Exit1")->trigger(); // nothing changed since the Open: no question
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(dialogs->unsavedQuestions.empty());

    Start().show();
    OpenTestSkin();
    EditBackground();
    const std::string edited = JoinCrLf(window->Document().Lines.Lines());
    dialogs->unsavedAnswers = {UnsavedChangesAnswer::Cancel, UnsavedChangesAnswer::SaveAs, UnsavedChangesAnswer::Discard};
    window->close();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(dialogs->unsavedQuestions, std::vector<QString>{"The skin has changes that were not saved."});
    window->close(); // Save as..., then the folder dialog cancelled: still running
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(dialogs->fileRequests.back().dialog, "SD1");
    Control<QAction>("Exit1")->trigger(); // Discard
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(ReadAll(WorkingCopy()), edited); // the edit, never autosaved, is in the working copy
    EXPECT_TRUE(dialogs->errors.empty());

    // After a Save as the question is not asked again.
    Start().show();
    OpenTestSkin();
    EditBackground();
    QTemporaryDir saved;
    dialogs->fileAnswers.push_back(saved.filePath("Ruvex.rvk"));
    window->Saveas1Click();
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(dialogs->unsavedQuestions.empty());
}

TEST_F(MainWindowTest, EveryWayOfOpeningAnotherSkinAsksFirstAndCancelKeepsTheWork)
{
    Start();
    OpenTestSkin();
    EditBackground();
    const auto edited = window->Document().Lines.Lines();
    TestSkin another;
    another.WriteComplete();
    const auto unchanged = [&] {
        EXPECT_EQ(window->Document().Lines.Lines(), edited);
        EXPECT_EQ(window->Session().History().count(), 1);
        EXPECT_TRUE(window->isWindowModified());
    };
    // Each is cancelled at the question: nothing is opened, nothing lost.
    Open(another.DescriptionPath());
    unchanged();
    window->OpenRecent(another.DescriptionPath());
    unchanged();
    window->Newskin1Click();
    unchanged();
    EXPECT_EQ(dialogs->fileRequests.back().dialog, "OD1"); // New skin asked before its folder dialog
    EXPECT_EQ(dialogs->unsavedQuestions.size(), 3u);

    dialogs->unsavedAnswers = {UnsavedChangesAnswer::Discard};
    Open(another.DescriptionPath());
    EXPECT_EQ(window->Session().SkinFolder(), another.Dir());
    EXPECT_FALSE(window->isWindowModified());
    Open(skin.DescriptionPath()); // nothing changed since: no question
    EXPECT_EQ(dialogs->unsavedQuestions.size(), 4u);
    EXPECT_TRUE(dialogs->errors.empty());
}

TEST_F(MainWindowTest, TheAutosaveWritesOnlyAfterASuccessfulOpen)
{
    Start();
    window->AutoSaveTimer();
    Open(std::nullopt);
    window->AutoSaveTimer();
    EXPECT_FALSE(QFile::exists(Beside("Temp")));

    QTemporaryDir withoutDescription;
    Open(withoutDescription.filePath("Ruvex.rvk"));
    window->AutoSaveTimer();
    EXPECT_FALSE(QFile::exists(WorkingCopy()));

    dialogs->errors.clear();
    OpenTestSkin();
    EditBackground();
    window->AutoSaveTimer();
    EXPECT_EQ(ReadAll(WorkingCopy()), JoinCrLf(window->Document().Lines.Lines()));
    EXPECT_TRUE(dialogs->errors.empty());
}

TEST_F(MainWindowTest, AnAutosaveErrorBoxIsNotStackedByTheNextTick)
{
    Start();
    OpenTestSkin();
    // A folder in the working copy's place: a write that fails even for root.
    ASSERT_TRUE(QFile::remove(WorkingCopy()));
    ASSERT_TRUE(QDir().mkdir(WorkingCopy()));

    dialogs->whileErrorShown = [this] { window->AutoSaveTimer(); };
    window->AutoSaveTimer();
    ASSERT_EQ(dialogs->errors.size(), 1u);
    EXPECT_TRUE(dialogs->errors[0].text.startsWith("Cannot create file \"" + WorkingCopy() + "\"."));
    window->AutoSaveTimer(); // the box was closed: the failure is shown again
    EXPECT_EQ(dialogs->errors.size(), 2u);
}

TEST_F(MainWindowTest, ShortcutsReachTheMenuAndTabFollowsTheFocusOrder)
{
    TestWindow& frm = Start();
    frm.show();
    frm.activateWindow();
    if (!QTest::qWaitForWindowActive(&frm))
        GTEST_SKIP() << "the platform does not activate windows";

    EXPECT_EQ(QApplication::focusWidget(), Control<QCheckBox>("VolumeCB"));
    const QWidget* pages = Control<QWidget>("PageControl1");
    for (const char* next : {"RepetitionSt", "PageControl1", "VolEdit1", "PlayStatus"}) {
        // After the page control itself, Tab passes through the controls of the shown page.
        int presses = 0;
        do
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        while (next != std::string("PageControl1") && pages->isAncestorOf(QApplication::focusWidget()) && ++presses < 20);
        const QWidget* expected = Control<QWidget>(next);
        EXPECT_TRUE(expected == QApplication::focusWidget() || expected->isAncestorOf(QApplication::focusWidget()))
            << next;
    }

    QTest::keyClick(&frm, Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(&frm, Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(dialogs->fileRequests.size(), 1u);
    EXPECT_EQ(dialogs->fileRequests[0].dialog, "OD1");
    // Save as reached: with no skin open it refuses before asking for a folder.
    ASSERT_EQ(dialogs->errors.size(), 1u);
    EXPECT_EQ(dialogs->errors[0].text, "Open a skin before saving it.");
    QTest::keyClick(&frm, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(frm.isVisible());
}

TEST_F(MainWindowTest, CtrlZInANumberFieldUndoesTheEditorsStepNotTheFields)
{
    TestWindow& frm = Start();
    frm.show();
    frm.activateWindow();
    if (!QTest::qWaitForWindowActive(&frm))
        GTEST_SKIP() << "the platform does not activate windows";
    OpenTestSkin();
    const std::string opened = JoinCrLf(window->Document().Lines.Lines());
    auto* list = Control<QListWidget>("SkinItems");
    list->setCurrentItem(list->findItems("Artist", Qt::MatchExactly).front());
    auto* x = Control<NumberField>("XEdit");
    x->setFocus();
    x->selectAll();
    QTest::keyClicks(x, "5");
    ASSERT_EQ(window->Session().History().count(), 1);
    EXPECT_EQ(Control<QAction>("Undo1")->text(), "Undo Artist: X 88 \u2192 5");

    int undone = 0;
    QObject::connect(Control<QAction>("Undo1"), &QAction::triggered, [&] { ++undone; });
    QTest::keyClick(x, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(undone, 1);
    EXPECT_EQ(JoinCrLf(window->Document().Lines.Lines()), opened);
    EXPECT_EQ(x->text(), "88");
    QTest::keyClick(x, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(x->text(), "5");
    EXPECT_EQ(window->Session().History().count(), 1);
    EXPECT_TRUE(dialogs->errors.empty());
}

TEST_F(MainWindowTest, APathOpensAsOpenWouldAndTheTitleNamesTheSkinAndItsChanges)
{
    Start();
    EXPECT_EQ(window->windowTitle(), "Vellumark v0.3");
    skin.WriteComplete();
    const QString folder = QFileInfo(skin.DescriptionPath()).absolutePath();
    const QString name = QFileInfo(folder).fileName();
    for (const QString& path : {folder, skin.DescriptionPath()}) {
        window->OpenPath(path);
        ASSERT_TRUE(dialogs->errors.empty()) << dialogs->errors[0].text.toStdString();
        EXPECT_EQ(window->Document().SkinFileName, WorkingCopy());
        EXPECT_EQ(window->windowTitle(), name + "[*] - Vellumark v0.3");
        EXPECT_FALSE(window->isWindowModified());
    }
    EditBackground();
    EXPECT_TRUE(window->isWindowModified());
    window->Session().Undo();
    EXPECT_FALSE(window->isWindowModified());

    window->OpenPath(executableFolder.filePath("no such skin"));
    EXPECT_EQ(dialogs->errors.size(), 1u);

    // A loop of links is no missing file: the message names the loop, as the command line does.
    const QString loop = executableFolder.filePath("loop-a");
    ASSERT_TRUE(QFile::link(executableFolder.filePath("loop-b"), loop));
    ASSERT_TRUE(QFile::link(loop, executableFolder.filePath("loop-b")));
    window->OpenPath(loop);
    ASSERT_EQ(dialogs->errors.size(), 2u);
    EXPECT_EQ(dialogs->errors[1].text, "Cannot open file \"" + loop + "\". Too many levels of symbolic links.");
}

TEST(EditorCommandLine, HelpAndVersionAnswerWithoutAWindow)
{
    for (const auto& [argument, expected] : {std::pair{"--version", "vellumark 0.3"}, std::pair{"--help", "[SKIN]"}}) {
        QProcess editor;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DISPLAY");
        environment.remove("QT_QPA_PLATFORM");
        editor.setProcessEnvironment(environment);
        editor.start(VELLUMARK_EDITOR_EXE, {argument});
        ASSERT_TRUE(editor.waitForFinished(10000));
        EXPECT_EQ(editor.exitCode(), 0) << argument;
        EXPECT_TRUE(editor.readAllStandardOutput().contains(expected)) << argument;
    }
}

TEST_F(MainWindowTest, EveryCaptionFitsItsRoom)
{
    Start().show();
    // A caption's room ends where the next control on its row begins.
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        if (label->text().isEmpty() || !label->isVisibleTo(window.get()))
            continue;
        EXPECT_FALSE(label->font().family().isEmpty());
        int room = label->parentWidget()->width() - label->x();
        for (const QWidget* other : label->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (other != label && other->x() > label->x() && other->y() < label->geometry().bottom()
                && other->geometry().bottom() > label->y())
                room = std::min(room, other->x() - label->x());
        EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(label->text()), room) << label->text().toStdString();
    }
    for (const QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (!button->text().isEmpty() && qobject_cast<const QTabBar*>(button->parentWidget()) == nullptr) {
            EXPECT_LE(button->sizeHint().width(), button->width()) << button->text().toStdString();
        }
    }
    for (const QGroupBox* box : window->findChildren<QGroupBox*>())
        EXPECT_LE(QFontMetrics(box->font()).horizontalAdvance(box->title()) + 16, box->width()) << box->title().toStdString();
    for (const QComboBox* list : window->findChildren<QComboBox*>()) {
        QStyleOptionComboBox option;
        option.initFrom(list);
        const QRect field = list->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, list);
        for (int i = 0; i < list->count(); ++i)
            EXPECT_LE(QFontMetrics(list->font()).horizontalAdvance(list->itemText(i)), field.width())
                << list->itemText(i).toStdString();
    }
}

// View › History: a click on a row goes to that state; a step that fails on the way
// is reported as an Undo would report it.
TEST_F(MainWindowTest, AClickInTheHistoryGoesToThatStateAndReportsAFailingStep)
{
    Start();
    OpenTestSkin();
    const std::vector<std::string> opened = window->Document().Lines.Lines();
    EditBackground();
    const int statusLine = window->Document().Lines.FindKey("StatusLine");
    EXPECT_THROW(window->Session().ReplaceLineText(statusLine, "StatusLine = on"), SkinError);
    window->findChild<QAction*>("History1")->trigger();
    auto* view = window->findChild<QUndoView*>("HistoryView");
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->model()->rowCount(), 3); // "As opened" and the two steps

    view->setCurrentIndex(view->model()->index(0, 0));
    EXPECT_EQ(window->Document().Lines.Lines(), opened);
    view->setCurrentIndex(view->model()->index(2, 0));
    QCoreApplication::processEvents();
    ASSERT_EQ(dialogs->errors.size(), 1u);
    EXPECT_EQ(dialogs->errors[0].text.toStdString(),
              "Ruvex.rvk:" + std::to_string(statusLine + 1) + ": \"StatusLine\": 'on' is not a valid integer value.");
}

// View › Colours: a window of its own listing the skin's colours; "Replace with..."
// asks the colour dialog, starting at the row's colour, and makes one step that the
// list follows.
TEST_F(MainWindowTest, TheColorsWindowReplacesAColorEverywhereAsOneStep)
{
    Start();
    OpenTestSkin();
    window->findChild<QAction*>("Colours1")->trigger();
    auto* colors = window->findChild<QWidget*>("ColoursWindow");
    ASSERT_NE(colors, nullptr);
    EXPECT_TRUE(colors->isWindow());
    auto* list = Control<QTreeWidget>("ColourList");
    auto* replace = Control<QPushButton>("ReplaceColour");
    EXPECT_FALSE(replace->isEnabled());
    const auto rowOf = [&](const QString& name) -> QTreeWidgetItem* {
        const auto found = list->findItems(name, Qt::MatchExactly, 0);
        return found.isEmpty() ? nullptr : found.front();
    };
    // The reference skin's Background is silver.
    QTreeWidgetItem* silver = rowOf("#C0C0C0");
    ASSERT_NE(silver, nullptr);
    EXPECT_EQ(silver->text(1).toStdString().substr(0, 10), "Background");
    list->setCurrentItem(silver);
    EXPECT_TRUE(replace->isEnabled());

    dialogs->colorAnswers.push_back(QColor(0x40, 0x20, 0x1A));
    replace->click();
    ASSERT_TRUE(dialogs->errors.empty()) << dialogs->errors[0].text.toStdString();
    ASSERT_EQ(dialogs->colorRequests.size(), 1u);
    EXPECT_EQ(dialogs->colorRequests[0], QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(window->Session().History().undoText(), "Replace #C0C0C0 with #40201A");
    EXPECT_EQ(rowOf("#C0C0C0"), nullptr);
    ASSERT_NE(rowOf("#40201A"), nullptr);
    EXPECT_EQ(list->currentItem(), rowOf("#40201A"));

    // A cancelled dialog changes nothing; undo brings the row back.
    dialogs->colorAnswers.push_back(std::nullopt);
    replace->click();
    EXPECT_EQ(window->Session().History().count(), 1);
    window->Session().Undo();
    EXPECT_NE(rowOf("#C0C0C0"), nullptr);
}

// A selected row marks its colour on the shown preview only: the drawing and its
// export stay as they are, and the marks go when the row is no longer selected or
// the window closes.
TEST_F(MainWindowTest, ASelectedColorIsMarkedOnThePreviewOnlyWhileSelected)
{
    Start();
    OpenTestSkin();
    const auto& drawn = window->Session().DrawnElements();
    // A picture that shows its colour at its centre, with a row of the screen above it.
    const auto picture = std::find_if(drawn.begin(), drawn.end(), [&](const DrawnElement& e) {
        return e.category == SkinCategory::Pictures && e.bounds.top() > 0
               && window->Surface().pixel(e.bounds.center()) == TestPictureColor(e.picture);
    });
    ASSERT_NE(picture, drawn.end());
    const QRgb color = TestPictureColor(picture->picture);
    const QPoint inside = picture->bounds.center();
    const QPoint above = picture->bounds.topLeft() - QPoint(0, 1);
    const QImage unmarked = ColorKeyed(window->Surface());
    auto* shown = Control<PreviewView>("ScreenSkin");
    ASSERT_EQ(shown->Shown().pixel(inside), color);

    window->findChild<QAction*>("Colours1")->trigger();
    auto* list = Control<QTreeWidget>("ColourList");
    const auto rows = list->findItems(QString::fromLatin1(ColorName(color)), Qt::MatchExactly, 0);
    ASSERT_EQ(rows.size(), 1);
    list->setCurrentItem(rows.front());
    EXPECT_NE(shown->Shown().pixel(inside), color); // tinted
    EXPECT_NE(shown->Shown().pixel(above), unmarked.pixel(above)); // outlined
    // Neither the drawing nor what is exported of it carries the marks.
    QImage fresh = NewPreviewSurface();
    DrawPreview(fresh, window->Document(), window->Session().Settings());
    EXPECT_EQ(window->Surface(), fresh);
    QTemporaryDir out;
    dialogs->scaleAnswers = {1};
    dialogs->fileAnswers = {out.filePath("preview.png")};
    ExportPreview(window->Session(), *dialogs);
    EXPECT_EQ(QImage(out.filePath("preview.png")).convertToFormat(QImage::Format_RGB32), fresh);
    // The marks follow a redraw while the row stays selected.
    window->Session().SetSettings(window->Session().Settings());
    EXPECT_NE(shown->Shown(), unmarked);

    list->clearSelection();
    EXPECT_EQ(shown->Shown(), unmarked);
    list->setCurrentItem(rows.front());
    EXPECT_NE(shown->Shown(), unmarked);
    list->window()->close();
    EXPECT_EQ(shown->Shown(), unmarked);
    EXPECT_TRUE(dialogs->errors.empty());
}

// Colours › Edition...: the preview shows the edition while the dialog is open and
// names what lost chroma; Cancel leaves nothing, Apply is one step that undo takes back.
TEST_F(MainWindowTest, AnEditionIsShownLiveAndAppliedAsOneStep)
{
    Start();
    Open(QStringLiteral(VELLUMARK_SOURCE_DIR "/examples/skins/harbour/Ruvex.rvk"));
    ASSERT_TRUE(dialogs->errors.empty()) << dialogs->errors[0].text.toStdString();
    const QImage opened = window->Surface();
    const auto lines = window->Document().Lines.Lines();
    window->findChild<QAction*>("Colours1")->trigger();
    auto* edition = Control<QAction>("Edition1");

    for (const bool apply : {false, true}) {
        QImage live;
        QString clamped;
        dialogs->whileModalShown = [&](QDialog& shown) {
            shown.findChild<QDoubleSpinBox*>("EditionHue")->setValue(120);
            live = window->Surface();
            clamped = shown.findChild<QLabel*>("EditionClamped")->text();
            apply ? shown.accept() : shown.reject();
        };
        edition->trigger();
        ASSERT_TRUE(dialogs->errors.empty()) << dialogs->errors[0].text.toStdString();
        EXPECT_NE(live, opened);
        EXPECT_EQ(clamped, "Lost chroma to fit into sRGB: #F2B134");
        if (!apply) {
            EXPECT_EQ(window->Surface(), opened);
            EXPECT_EQ(window->Session().History().count(), 0);
            EXPECT_EQ(window->Document().Lines.Lines(), lines);
        } else {
            // What the dialog showed is what the step made.
            EXPECT_EQ(window->Surface(), live);
            EXPECT_EQ(window->Session().History().count(), 1);
            EXPECT_EQ(window->Session().History().undoText(), "Edition: hue +120\u00B0, chroma \u00D71, lightness \u00D71");
        }
    }
    window->Session().Undo();
    EXPECT_EQ(window->Surface(), opened);
    EXPECT_EQ(window->Document().Lines.Lines(), lines);
}

// Edit › Select all and the Arrange commands, without the canvas open, on the
// session's selection; the step and the Edit menu say what was done.
TEST_F(MainWindowTest, TheEditMenuSelectsAllAndArrangesWithoutTheCanvas)
{
    Start();
    OpenTestSkin();
    window->Session().SelectMany({{SkinCategory::Strings, "Artist"}, {SkinCategory::Strings, "TrackNumber"},
                                  {SkinCategory::Strings, "Playlist"}},
                                 ElementRef{SkinCategory::Strings, "Artist"});
    ASSERT_NE(window->findChild<QAction*>("AlignHCenter"), nullptr);
    ASSERT_NE(window->findChild<QAction*>("Selectall1"), nullptr);
    Control<QAction>("AlignHCenter")->trigger();
    ASSERT_TRUE(dialogs->errors.empty()) << dialogs->errors[0].text.toStdString();
    EXPECT_EQ(window->Session().History().undoText(), "Align 3 elements (horizontal centres)");
    EXPECT_EQ(Control<QAction>("Undo1")->text(), "Undo Align 3 elements (horizontal centres)");

    Control<QAction>("Selectall1")->trigger();
    EXPECT_EQ(window->Session().SelectedElements().size(), window->Session().DrawnElements().size() - 1); // the right soft label is SoftLabel
    EXPECT_EQ(window->Session().Selection(), (ElementRef{SkinCategory::Strings, "Artist"}));
    EXPECT_TRUE(dialogs->errors.empty());
}
