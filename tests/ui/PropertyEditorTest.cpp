#include "PropertyEditor.h"

#include "ColorSwatch.h"
#include "NumberField.h"
#include "TestSession.h"
#include "TestSkin.h"
#include "UserInput.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

#include <gtest/gtest.h>

namespace {

enum { Strings, Pictures, Objects };


} // namespace

class PropertyEditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        page = &rig.page;
        editor = new PropertyEditor(*rig.session, rig.dialogs, rig.errors, page);
        editor->PaintColorViewGrey();
        editor->ShowCategoryNames();
        ASSERT_TRUE(dialogs->errors.empty());
    }

    template <typename Widget>
    Widget* Control(const char* name) const
    {
        auto* widget = page->findChild<Widget*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    NumberField* Field(const char* name) const { return Control<NumberField>(name); }
    QComboBox* List(const char* name) const { return Control<QComboBox>(name); }
    QLineEdit* ColorEdit() const { return Control<QLineEdit>("ColorEdit"); }
    QListWidget* SkinItems() const { return Control<QListWidget>("SkinItems"); }
    QRgb Swatch() const { return Control<ColorSwatch>("ColorView")->Image().pixel(16, 16); }

    void Open(const std::vector<std::string>& lines = ReferenceSkinLines())
    {
        skin.WriteDescription(lines);
        skin.WritePictures();
        ASSERT_TRUE(rig.Open(skin.DescriptionPath())) << dialogs->errors[0].text.toStdString();
    }

    void Select(int category, const QString& name)
    {
        Choose(List("CurList"), category);
        const auto found = SkinItems()->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        SkinItems()->setCurrentItem(found.front());
    }

    // A key that changes nothing: its key-down handler writes the controls back.
    void Touch() const { QTest::keyClick(Field("XEdit"), Qt::Key_Shift); }

    void Retype(QWidget* field, const QString& keys) const
    {
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, keys);
    }

    SkinLines& Lines() const { return rig.session->Document().Lines; }
    const QImage& Surface() const { return rig.session->Surface(); }
    std::string Line(const std::string& key) const { return Lines().Line(Lines().FindKey(key)); }

    QStringList ErrorTexts() const
    {
        QStringList texts;
        for (const auto& error : dialogs->errors)
            texts << error.text;
        return texts;
    }

    TestSession rig;
    TestSkin skin;
    ScriptedDialogs* dialogs = &rig.dialogs;
    QWidget* page = nullptr;
    PropertyEditor* editor = nullptr;
};

TEST_F(PropertyEditorTest, StartsWithTheTextItemsListedAndTheSwatchGrey)
{
    EXPECT_EQ(List("CurList")->currentText(), "Strings");
    QStringList names;
    for (int i = 0; i < SkinItems()->count(); ++i)
        names << SkinItems()->item(i)->text();
    EXPECT_EQ(names, QStringList({"TrackNumber", "Playlist", "Artist", "Title ", "Album", "Time ", "TimeCurrent",
                                  "TimeElapsed", "SoftLabel"}));
    EXPECT_TRUE(SkinItems()->selectedItems().isEmpty());
    EXPECT_EQ(Swatch(), qRgb(128, 128, 128));
    EXPECT_EQ(ColorEdit()->text(), ""); // nothing selected: nothing shown
    // Grouped controls sit inside their group.
    EXPECT_EQ(Control<QWidget>("ColorView")->parentWidget()->objectName(), "ColorBox");
    EXPECT_EQ(Control<QWidget>("ColorView")->geometry(), QRect(96, 16, 33, 33));
    EXPECT_EQ(List("YPos")->parentWidget()->objectName(), "AVHgrup");
    EXPECT_EQ(List("YPos")->geometry(), QRect(8, 43, 121, 22));
}

TEST_F(PropertyEditorTest, SelectingShowsTheValuesAndControlsOfTheCategoryAndWritesNothing)
{
    Open();
    Select(Strings, "Artist"); // 88 40 17 2 2 0xFFFFFF00
    EXPECT_EQ(Field("XEdit")->text(), "88");
    EXPECT_EQ(Field("YEdit")->text(), "40");
    EXPECT_EQ(List("FontBox")->currentText(), "Font02");
    EXPECT_EQ(List("FstyleCB")->currentText(), "BOLD");
    EXPECT_EQ(List("XPos")->currentText() + "|" + List("YPos")->currentText(), "TOP|HCENTER");
    EXPECT_EQ(ColorEdit()->text(), "0xFFFFFF00");
    EXPECT_EQ(Swatch(), qRgb(255, 255, 255));

    Select(Objects, "ProgressBar"); // 10 160 156 6 0x00FF0000
    EXPECT_EQ(QStringList({Field("XEdit")->text(), Field("YEdit")->text(), Field("WPos")->text(), Field("HPos")->text(),
                           ColorEdit()->text()}),
              QStringList({"10", "160", "156", "6", "0x00FF0000"}));
    EXPECT_EQ(Swatch(), qRgb(0, 255, 0));

    Select(Pictures, "Play"); // 55 180
    EXPECT_EQ(Field("XEdit")->text() + " " + Field("YEdit")->text(), "55 180");

    const std::vector<std::tuple<int, bool, bool, bool>> shown = {
        // category, text item controls, size fields, colour
        {Strings, true, false, true}, {Pictures, false, false, false}, {Objects, false, true, true}};
    const auto before = Lines().Lines();
    for (const auto& [category, textControls, sizeFields, color] : shown) {
        Choose(List("CurList"), category);
        for (int i = 0; i < SkinItems()->count(); ++i) {
            SkinItems()->setCurrentRow(i);
            for (const char* name : {"FontBox", "FontStylegr", "AVHgrup"})
                EXPECT_EQ(Control<QWidget>(name)->isVisibleTo(page), textControls) << name;
            for (const char* name : {"WPos", "HPos", "WposL", "HposL"})
                EXPECT_EQ(Control<QWidget>(name)->isVisibleTo(page), sizeFields) << name;
            EXPECT_EQ(Control<QWidget>("ColorBox")->isVisibleTo(page), color);
            EXPECT_TRUE(Field("XEdit")->isVisibleTo(page) && Field("YEdit")->isVisibleTo(page));
        }
    }
    EXPECT_EQ(Lines().Lines(), before);
    EXPECT_TRUE(dialogs->errors.empty());
}

TEST_F(PropertyEditorTest, CodesTheListsCannotShowAreWrittenAsTheListsShowThem)
{
    Open(SkinWith({"Artist = 1 2 65 2 2 0x11111100", "Album = 3 4 40 10 1 0x22222200", "Time = 5 6 6 3 0 0x33333300",
                   "TimeCurrent = 7 8 68 1 255 0x44444400", "TimeElapsed = 9 10 72 1 255 0x55555500"}));
    Select(Strings, "Artist");
    EXPECT_EQ(List("XPos")->currentText() + "|" + List("YPos")->currentText(), "TOP|HCENTER");
    Touch();
    EXPECT_EQ(Line("Artist"), "Artist = 1 2 17 2 2 0x11111100 0x000000FF");

    Select(Strings, "Album");
    Select(Strings, "Time "); // anchor 6, font 3, style 0: the lists keep what Album showed
    EXPECT_EQ(List("XPos")->currentText() + "|" + List("YPos")->currentText(), "BOTTOM|RIGHT");
    EXPECT_EQ(List("FontBox")->currentText(), "Font0A");
    EXPECT_EQ(List("FstyleCB")->currentText(), "PLAIN");
    Touch();
    EXPECT_EQ(Line("Time "), "Time = 5 6 40 10 255 0x33333300 0x000000FF");

    for (const char* key : {"TimeCurrent", "TimeElapsed"}) {
        Select(Strings, key);
        Touch();
    }
    EXPECT_EQ(Line("TimeCurrent"), "TimeCurrent = 7 8 20 1 255 0x44444400 0x000000FF");
    EXPECT_EQ(Line("TimeElapsed"), "TimeElapsed = 9 10 24 1 255 0x55555500 0x000000FF");
}

TEST_F(PropertyEditorTest, AChangeRebuildsTheWholeLineInTheWrittenForm)
{
    Open(SkinWith({"Title =  4   60 20 1 255 0x00FF0000 0x12345678 extra", "TrackNumber\t= 4 20 20 1 255 0x10203000",
                   "Stop = 105 180 99 more", "Background = 0 0 176 220 0xC0C0C000 extra"}));
    const std::vector<std::tuple<int, const char*, std::string>> rebuilt = {
        {Strings, "Title ", "Title = 4 60 20 1 255 0x00FF0000 0x000000FF"},
        {Strings, "TrackNumber", "TrackNumber = 4 20 20 1 255 0x10203000 0x000000FF"},
        {Pictures, "Stop", "Stop = 105 180 20"},
        {Objects, "Background", "Background = 0 0 176 220 0xC0C0C000"}};
    for (const auto& [category, key, line] : rebuilt) {
        Select(category, key);
        Touch();
        EXPECT_EQ(Line(key), line);
    }
    EXPECT_EQ(Lines().Count(), static_cast<int>(ReferenceSkinLines().size()));
}

TEST_F(PropertyEditorTest, AnEmptiedFieldWritesZeroAndShowsItWhenTheEntryIsClickedAgain)
{
    Open();
    Select(Strings, "Artist");
    Retype(Field("XEdit"), "");
    EXPECT_EQ(Field("XEdit")->text(), "");
    EXPECT_EQ(Line("Artist"), "Artist = 0 40 17 2 2 0xFFFFFF00 0x000000FF");

    const QRect entry = SkinItems()->visualItemRect(SkinItems()->currentItem());
    QTest::mouseClick(SkinItems()->viewport(), Qt::LeftButton, {}, entry.center());
    EXPECT_EQ(Field("XEdit")->text(), "0");
}

TEST_F(PropertyEditorTest, KeysWriteBackInTheControlsThatHandleThem)
{
    Open();
    Select(Objects, "Background");
    const std::string marked = "Background = 0 0 176 220 0xC0C0C000 marked";
    const int index = Lines().FindKey("Background");
    const auto written = [&](const std::function<void()>& action) {
        Lines().Replace(index, marked);
        action();
        return Line("Background") != marked;
    };
    // control, written on key down, written on key up
    const std::vector<std::tuple<const char*, bool, bool>> wired = {
        {"XEdit", true, true}, {"YEdit", true, false}, {"WPos", true, false}, {"HPos", true, false},
        {"ColorEdit", true, true}};
    for (const auto& [name, down, up] : wired) {
        QWidget* control = Control<QWidget>(name);
        EXPECT_EQ(written([&] { QTest::keyPress(control, Qt::Key_Home); }), down) << name;
        EXPECT_EQ(written([&] { QTest::keyRelease(control, Qt::Key_Home); }), up) << name;
    }
    for (const char* name : {"FontBox", "FstyleCB", "XPos", "YPos"})
        EXPECT_TRUE(written([&] { Choose(List(name), 1); })) << name;
    // The colour field's own change notification only paints the swatch.
    EXPECT_FALSE(written([&] { Enter(ColorEdit(), "0x0000FF00"); }));
    EXPECT_EQ(Swatch(), qRgb(0, 0, 255));
}

TEST_F(PropertyEditorTest, AColorIsWrittenAsTypedButPaintedOnlyWhenComplete)
{
    Open();
    Select(Objects, "Background"); // grey C0C0C0
    Retype(ColorEdit(), "");
    const QString typed = "0x00FF0000";
    for (int length = 1; length <= typed.size(); ++length) {
        QTest::keyClicks(ColorEdit(), typed.mid(length - 1, 1));
        EXPECT_EQ(Line("Background"), "Background = 0 0 176 220 " + typed.left(length).toStdString());
        EXPECT_EQ(Swatch(), length < typed.size() ? qRgb(192, 192, 192) : qRgb(0, 255, 0)) << length;
    }

    // The dialog's colour: written with alpha 00; the dialog starts at the element's colour.
    Select(Strings, "Artist");
    dialogs->colorAnswers = {QColor(255, 0, 0), std::nullopt};
    QTest::mouseClick(Control<ColorSwatch>("ColorView"), Qt::LeftButton);
    EXPECT_EQ(ColorEdit()->text(), "0xFF000000");
    EXPECT_EQ(Line("Artist"), "Artist = 88 40 17 2 2 0xFF000000 0x000000FF");
    EXPECT_EQ(Swatch(), qRgb(255, 0, 0));
    QTest::mouseClick(Control<ColorSwatch>("ColorView"), Qt::LeftButton);
    EXPECT_EQ(dialogs->colorRequests, (std::vector<QColor>{QColor(255, 255, 255), QColor(255, 0, 0)}));
    EXPECT_EQ(Line("Artist"), "Artist = 88 40 17 2 2 0xFF000000 0x000000FF");
}

TEST_F(PropertyEditorTest, PastedLineBreaksAndNulsNeverSplitTheLine)
{
    Open();
    Select(Objects, "Background");
    QApplication::clipboard()->setText("0xAB\r\nCD\nEF00");
    Retype(ColorEdit(), "");
    QTest::keyClick(ColorEdit(), Qt::Key_V, Qt::ControlModifier);
    ColorEdit()->setText(ColorEdit()->text() + QChar(0) + "\r");
    QApplication::clipboard()->setText("12\n3");
    Retype(Field("WPos"), "");
    QTest::keyClick(Field("WPos"), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Line("Background"), "Background = 0 0 0 220 0xABCDEF00");
    EXPECT_EQ(Lines().Count(), static_cast<int>(ReferenceSkinLines().size()));
}

// The fields no longer show the element of another category: empty, they write nothing.
TEST_F(PropertyEditorTest, AfterACategoryChangeAChangeWritesNothing)
{
    Open();
    Select(Strings, "Artist");
    Choose(List("CurList"), Objects);
    EXPECT_EQ(SkinItems()->item(0)->text(), "Background");
    EXPECT_TRUE(List("FontBox")->isVisibleTo(page));
    EXPECT_EQ(Field("XEdit")->text(), "");

    const auto before = Lines().Lines();
    Enter(Field("YEdit"), 5);
    EXPECT_TRUE(ErrorTexts().isEmpty());
    EXPECT_EQ(Lines().Lines(), before);
}

TEST_F(PropertyEditorTest, AFailedSelectionLeavesWriteBackOffUntilOneSucceeds)
{
    Open();
    for (const auto& [category, key] : std::vector<std::pair<int, std::string>>{{Strings, "Artist"}, {Objects, "VolumeBar"}}) {
        dialogs->errors.clear();
        const int index = Lines().FindKey(key);
        const std::string line = Lines().Line(index);
        Lines().Replace(index, "; gone");
        Select(category, QString::fromStdString(key));
        EXPECT_EQ(ErrorTexts(), QStringList{"List index out of bounds (-1)"}) << key;

        Lines().Replace(index, line);
        const auto before = Lines().Lines();
        Enter(Field("XEdit"), 3);
        Touch();
        EXPECT_EQ(Lines().Lines(), before) << key;

        SkinItems()->clearSelection();
        Select(category, QString::fromStdString(key));
        Enter(Field("XEdit"), 3);
        EXPECT_EQ(Line(key).substr(0, key.size() + 5), key + " = 3 ") << key;
        EXPECT_EQ(dialogs->errors.size(), 1u) << key;
    }
}

TEST_F(PropertyEditorTest, APictureWithoutALineShowsZeroAndItsChangeFailsWithoutDrawing)
{
    auto lines = ReferenceSkinLines();
    std::erase(lines, "Random = 10 100 20");
    Open(lines);
    Select(Pictures, "Play");
    Select(Pictures, "Random");
    EXPECT_EQ(Field("XEdit")->text() + " " + Field("YEdit")->text(), "0 0");

    const QImage surface = Surface().copy();
    Enter(Field("XEdit"), 50);
    EXPECT_EQ(ErrorTexts(), QStringList{"List index out of bounds (-1)"});
    EXPECT_EQ(Lines().Lines(), lines);
    EXPECT_EQ(Surface(), surface);
}

// What the fields showed before an Open never reaches the opened skin: they show
// its values, and the next keystroke changes only what it changes.
TEST_F(PropertyEditorTest, AfterAnOpenTheFieldsShowTheOpenedSkinsValues)
{
    Select(Strings, "Artist");
    Enter(Field("XEdit"), 7);
    EXPECT_EQ(ColorEdit()->text(), ""); // no skin: nothing to show
    EXPECT_TRUE(dialogs->errors.empty());

    Open();
    EXPECT_EQ(Field("XEdit")->text(), "88");
    Enter(Field("YEdit"), 9);
    EXPECT_EQ(Line("Artist"), "Artist = 88 9 17 2 2 0xFFFFFF00 0x000000FF");
}

TEST_F(PropertyEditorTest, TypingANewXMovesTheTextOnThePreview)
{
    Open();
    // The Artist text is the only white on the grey background in its rows.
    const auto whiteColumns = [this] {
        int left = ScreenWidth, right = -1;
        for (int y = 40; y < 56; ++y)
            for (int x = 0; x < ScreenWidth; ++x)
                if (Surface().pixel(x, y) == qRgb(255, 255, 255)) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        return std::pair{left, right};
    };
    const auto before = whiteColumns();
    ASSERT_LT(before.first, 88);
    ASSERT_GT(before.second, 88);

    Select(Strings, "Artist");
    Retype(Field("XEdit"), "40");
    const auto after = whiteColumns();
    EXPECT_EQ(after.first, before.first - 48);
    EXPECT_EQ(after.second, before.second - 48);
}

TEST_F(PropertyEditorTest, OnlyAChangeOfCategoryClearsTheSelection)
{
    Open();
    Select(Strings, "Artist");
    QWidget* viewport = SkinItems()->viewport();
    const QRect entry = SkinItems()->visualItemRect(SkinItems()->currentItem());
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::ControlModifier, entry.center());
    QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(5, viewport->height() - 3)); // below the entries
    QTest::keyClick(SkinItems(), Qt::Key_Space, Qt::ControlModifier);
    ASSERT_EQ(SkinItems()->selectedItems().size(), 1);
    EXPECT_EQ(SkinItems()->selectedItems().front()->text(), "Artist");
    Enter(Field("XEdit"), 9);
    EXPECT_TRUE(dialogs->errors.empty());
    EXPECT_EQ(Line("Artist"), "Artist = 9 40 17 2 2 0xFFFFFF00 0x000000FF");
}

TEST_F(PropertyEditorTest, TypingANumberIsOneStepAndUndoShowsTheOldValuesWithoutWritingThem)
{
    Open();
    const std::string opened = Line("Artist");
    Select(Strings, "Artist");
    Retype(Field("XEdit"), "140"); // emptied, then three keys of three notifications each
    Retype(Field("YEdit"), "7");
    QUndoStack& history = rig.session->History();
    EXPECT_EQ(history.count(), 2);
    EXPECT_EQ(Line("Artist"), "Artist = 140 7 17 2 2 0xFFFFFF00 0x000000FF");

    rig.session->Undo();
    EXPECT_EQ(Field("YEdit")->text(), "40");
    rig.session->Undo();
    EXPECT_EQ(Field("XEdit")->text(), "88");
    EXPECT_EQ(Line("Artist"), opened);
    EXPECT_EQ(history.index(), 0);
    EXPECT_EQ(history.count(), 2); // the controls followed without writing back
    EXPECT_TRUE(dialogs->errors.empty());
}

// One click opens the colour dialog at the element's colour, with the skin's own
// colours as the custom ones.
TEST_F(PropertyEditorTest, OneClickOpensTheColorDialogAtTheElementsColor)
{
    Open();
    Select(Strings, "Title ");
    dialogs->colorAnswers = {QColor(255, 0, 0)};
    QTest::mouseClick(Control<ColorSwatch>("ColorView"), Qt::LeftButton);
    ASSERT_EQ(dialogs->colorRequests.size(), 1u);
    EXPECT_EQ(dialogs->colorRequests[0], QColor(0, 255, 0)); // Title's 0x00FF0000
    ASSERT_EQ(dialogs->colorCustoms.size(), 1u);
    const std::vector<QColor> skinColors = {QColor(0x10, 0x20, 0x30), QColor(255, 255, 255), QColor(0, 255, 0),
                                             QColor(0, 0, 255),        QColor(255, 0, 0),       QColor(0, 0, 0),
                                             QColor(192, 192, 192)};
    EXPECT_EQ(dialogs->colorCustoms[0], skinColors);
    EXPECT_EQ(Line("Title "), "Title = 88 56 17 2 255 0xFF000000 0x000000FF");
}

// With no element selected the fields are empty and disabled: never another
// element's values, at start-up nor after the category changes.
TEST_F(PropertyEditorTest, WithNoElementSelectedTheFieldsAreEmptyAndDisabled)
{
    const auto empty = [&](const char* when) {
        for (const char* name : {"XEdit", "YEdit", "WPos", "HPos"}) {
            EXPECT_EQ(Field(name)->text(), "") << when << name;
            EXPECT_FALSE(Field(name)->isEnabled()) << when << name;
        }
        EXPECT_EQ(ColorEdit()->text(), "") << when;
        EXPECT_FALSE(ColorEdit()->isEnabled()) << when;
        EXPECT_FALSE(Control<ColorSwatch>("ColorView")->isEnabled()) << when;
        for (const char* name : {"FontBox", "FstyleCB", "XPos", "YPos"}) {
            EXPECT_EQ(List(name)->currentText(), "") << when << name;
            EXPECT_FALSE(List(name)->isEnabled()) << when << name;
        }
    };
    empty("at start-up: ");
    Open();
    empty("after an Open: ");
    Select(Strings, "Album");
    EXPECT_EQ(Field("XEdit")->text(), "88");
    EXPECT_TRUE(Field("XEdit")->isEnabled());
    Choose(List("CurList"), Pictures);
    empty("after the category changed: ");
    Select(Pictures, "Play");
    EXPECT_EQ(Field("XEdit")->text() + " " + Field("YEdit")->text(), "55 180");
    EXPECT_TRUE(dialogs->errors.empty());
}

// The history says what changed, from the first value to the last of a typed run.
TEST_F(PropertyEditorTest, StepsAreNamedByWhatChanged)
{
    Open();
    Select(Strings, "Artist");
    Retype(Field("XEdit"), "101");
    const QUndoStack& history = rig.session->History();
    ASSERT_EQ(history.count(), 1);
    EXPECT_EQ(history.undoText(), "Artist: X 88 \u2192 101");
    rig.session->Commit();
    Retype(ColorEdit(), "0x12345600");
    ASSERT_EQ(history.count(), 2);
    EXPECT_EQ(history.undoText(), "Artist: colour");
    rig.session->Commit();
    Choose(List("FontBox"), 4); // Font0A
    EXPECT_EQ(history.undoText(), "Artist: font 2 \u2192 10");
    rig.session->StoreElement({SkinCategory::Strings, "Artist"}, ItemValues{5, 6, 0, 0, 17, 10, 2, "0x12345600"}, 99);
    EXPECT_EQ(history.undoText(), "Move Artist");
}
