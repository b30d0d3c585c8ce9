#include "CanvasView.h"
#include "CanvasWindow.h"

#include "NumberField.h"
#include "PropertyEditor.h"
#include "TestSession.h"
#include "TestSkin.h"
#include "UserInput.h"
#include "TestWindow.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QListWidget>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

#include <cmath>
#include <set>


// A canvas and a property editor on one session, as the editor has them.
class CanvasTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        editor = new PropertyEditor(*rig.session, rig.dialogs, rig.errors, &rig.page);
        editor->ShowCategoryNames();
        view = std::make_unique<CanvasView>(*rig.session, rig.errors);
        view->resize(900, 1000);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        view->SetZoom(3);
        view->Tool().SetSnapping(false); // these drags land where the mouse goes
    }

    void Open(const std::vector<std::string>& lines = ReferenceSkinLines())
    {
        skin.WriteDescription(lines);
        skin.WritePictures();
        ASSERT_TRUE(rig.Open(skin.DescriptionPath()));
    }

    EditingSession& Session() const { return *rig.session; }
    const SkinLines& Lines() const { return Session().Document().Lines; }
    std::vector<std::string> AllLines() const
    {
        std::vector<std::string> all;
        for (int i = 0; i < Lines().Count(); ++i)
            all.push_back(Lines().Line(i));
        return all;
    }
    std::string Line(const std::string& key) const { return Lines().Line(Lines().FindKey(key)); }

    QRect Bounds(const std::string& key, bool mirrored = false) const
    {
        for (const auto& element : Session().DrawnElements())
            if (element.key == key && element.mirrored == mirrored)
                return element.bounds;
        ADD_FAILURE() << key;
        return {};
    }
    // The viewport position at the middle of a skin pixel.
    QPoint At(QPoint skin) const { return (view->ViewportPointOf(skin) + QPointF(1.5, 1.5)).toPoint(); }

    void Mouse(QEvent::Type type, QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, at, view->viewport()->mapToGlobal(at), button, held, modifiers);
        QApplication::sendEvent(view->viewport(), &event);
    }
    void Click(QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        Mouse(QEvent::MouseButtonPress, at, modifiers);
        Mouse(QEvent::MouseButtonRelease, at, modifiers);
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(view.get(), key, modifiers);
    }

    std::optional<std::string> Selected() const
    {
        const auto& selection = Session().Selection();
        return selection ? std::optional(selection->key) : std::nullopt;
    }
    QString EditorShows() const
    {
        const auto* items = rig.page.findChild<QListWidget*>("SkinItems");
        return rig.page.findChild<QComboBox*>("CurList")->currentText() + "/"
            + (items->currentItem() ? items->currentItem()->text() : QString()) + "/"
            + QString::number(rig.page.findChild<NumberField*>("XEdit")->Value());
    }

    TestSession rig;
    TestSkin skin;
    PropertyEditor* editor = nullptr;
    std::unique_ptr<CanvasView> view;
};

TEST_F(CanvasTest, AClickSelectsTheTopmostAltClickCyclesAndThePropertyEditorFollowsBothWays)
{
    Open();
    const QPoint artist = At(Bounds("Artist").center()); // over Background
    Click(artist);
    EXPECT_EQ(Selected(), "Artist");
    EXPECT_EQ(EditorShows(), "Strings/Artist/88");

    Click(artist, Qt::AltModifier);
    EXPECT_EQ(Selected(), "Background");
    EXPECT_EQ(EditorShows(), "Objects/Background/0");
    Click(artist, Qt::AltModifier);
    EXPECT_EQ(Selected(), "Artist");

    Click(At(QPoint(-20, -20))); // the margin: nothing there
    EXPECT_EQ(Selected(), "Artist");

    // Shift+click adds; the property editor, following the primary one, keeps both.
    Click(At(Bounds("Album").center()), Qt::ShiftModifier);
    EXPECT_EQ(Selected(), "Album");
    EXPECT_EQ(Session().SelectedElements().size(), 2u);

    // Chosen in the property editor: outlined on the canvas in black and white dashes.
    Choose(rig.page.findChild<QComboBox*>("CurList"), 1);
    auto* items = rig.page.findChild<QListWidget*>("SkinItems");
    items->setCurrentItem(items->findItems("Forward", Qt::MatchExactly).front());
    EXPECT_EQ(Selected(), "Forward");
    EXPECT_EQ(Session().SelectedElements().size(), 1u);
    const QImage shot = view->viewport()->grab().toImage();
    const QRect forward = Bounds("Forward");
    std::set<QRgb> outline;
    const int top = static_cast<int>(view->ViewportPointOf(forward.topLeft()).y()) - 1;
    for (int x = static_cast<int>(view->ViewportPointOf(forward.topLeft()).x());
         x < static_cast<int>(view->ViewportPointOf(forward.topRight() + QPoint(1, 0)).x()); ++x)
        outline.insert(shot.pixel(x, top) | 0xFF000000u);
    EXPECT_EQ(outline, (std::set<QRgb>{qRgb(0, 0, 0), qRgb(255, 255, 255)}));
}

TEST_F(CanvasTest, ADragWritesTheLineThePropertyEditorWouldAsOneUndoStep)
{
    Open();
    const std::vector<std::string> before = AllLines();
    const QPoint from = At(Bounds("Artist").center());
    Mouse(QEvent::MouseButtonPress, from);
    Mouse(QEvent::MouseMove, from + QPoint(1, 0)); // within the drag distance: nothing moves
    EXPECT_EQ(AllLines(), before);
    Mouse(QEvent::MouseMove, from + QPoint(20, 9));
    EXPECT_EQ(EditorShows(), "Strings/Artist/95"); // the fields follow while dragging
    Mouse(QEvent::MouseMove, from + QPoint(13 * 3, -7 * 3));
    Mouse(QEvent::MouseButtonRelease, from + QPoint(13 * 3, -7 * 3));

    const std::string dragged = Line("Artist");
    EXPECT_EQ(dragged, "Artist = 101 33 17 2 2 0xFFFFFF00 0x000000FF");
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (FirstWord(before[i]) != "Artist") {
            EXPECT_EQ(Lines().Line(static_cast<int>(i)), before[i]);
        }
    }
    EXPECT_EQ(Session().History().count(), 1);
    EXPECT_EQ(EditorShows(), "Strings/Artist/101");

    // The same values typed into the property editor give the same bytes.
    ASSERT_TRUE(rig.errors.Run([&] { Session().Undo(); }));
    EXPECT_EQ(AllLines(), before);
    Enter(rig.page.findChild<NumberField*>("XEdit"), 101);
    Enter(rig.page.findChild<NumberField*>("YEdit"), 33);
    EXPECT_EQ(Line("Artist"), dragged);
    EXPECT_TRUE(rig.dialogs.errors.empty());
}

TEST_F(CanvasTest, CodesTheListsCannotShowAreDraggedAsAPropertyEditorThatShowedNothingElseWritesThem)
{
    Open(SkinWith({"Time = 5 6 6 3 0 0x33333300"})); // anchor, font and style the lists cannot show
    const QPoint from = At(Bounds("Time ").center());
    Mouse(QEvent::MouseButtonPress, from);
    Mouse(QEvent::MouseMove, from + QPoint(3 * 3, 1 * 3));
    Mouse(QEvent::MouseButtonRelease, from + QPoint(3 * 3, 1 * 3));
    const std::string dragged = Line("Time ");
    EXPECT_EQ(dragged, "Time = 8 7 40 1 255 0x33333300 0x000000FF");

    ASSERT_TRUE(rig.errors.Run([&] { Session().Undo(); }));
    Enter(rig.page.findChild<NumberField*>("XEdit"), 8);
    Enter(rig.page.findChild<NumberField*>("YEdit"), 7);
    EXPECT_EQ(Line("Time "), dragged);
}

TEST_F(CanvasTest, EscapePutsTheLinesBytesBackAndLeavesNoStep)
{
    // Not in the written form: any write would change more than X and Y.
    Open(SkinWith({"Stop = 105 180 99 more", "Background = 0 0 176 220 0xC0C0C000 extra"}));
    const std::vector<std::string> before = AllLines();
    for (const auto& [key, at] : {std::pair{"Stop", QPoint(105, 180)}, std::pair{"Background", QPoint(170, 150)}}) {
        const QPoint from = At(at);
        Mouse(QEvent::MouseButtonPress, from);
        Mouse(QEvent::MouseMove, from + QPoint(30, 12));
        ASSERT_NE(Line(key), before[static_cast<std::size_t>(Lines().FindKey(key))]) << key;
        Key(Qt::Key_Escape);
        Mouse(QEvent::MouseMove, from + QPoint(40, 12)); // the button still held: nothing moves
        Mouse(QEvent::MouseButtonRelease, from + QPoint(40, 12));
        EXPECT_EQ(AllLines(), before) << key;
        EXPECT_EQ(Session().History().count(), 0) << key;
        EXPECT_FALSE(Session().IsModified());
    }
}

TEST_F(CanvasTest, NudgesOfOneElementMergeTabStepsInDrawOrderBackgroundKeepsItsSize)
{
    Open();
    Click(At(Bounds("Play").center()));
    Key(Qt::Key_Right);
    Key(Qt::Key_Right);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(Line("Play"), "Play = 57 190 20");
    EXPECT_EQ(Session().History().count(), 1);

    Key(Qt::Key_Tab);
    EXPECT_EQ(Selected(), "Pause");
    Key(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(Line("Pause"), "Pause = 70 180 20");
    EXPECT_EQ(Session().History().count(), 2);
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), "Play");

    // W and H are Background's right and bottom edges: they move with it.
    Click(At(QPoint(170, 150)));
    EXPECT_EQ(Selected(), "Background");
    Key(Qt::Key_Up);
    Key(Qt::Key_Left);
    EXPECT_EQ(Line("Background"), "Background = -1 -1 175 219 0xC0C0C000");
    EXPECT_EQ(Session().History().count(), 3);
}

TEST_F(CanvasTest, TheRightSoftLabelFollowsTheMouse)
{
    Open();
    const QRect right = Bounds("SoftLabel", true);
    const QPoint from = At(right.topLeft());
    Mouse(QEvent::MouseButtonPress, from);
    Mouse(QEvent::MouseMove, from + QPoint(5 * 3, -4 * 3));
    Mouse(QEvent::MouseButtonRelease, from + QPoint(5 * 3, -4 * 3));
    EXPECT_EQ(Selected(), "SoftLabel");
    EXPECT_EQ(Bounds("SoftLabel", true), right.translated(5, -4));
    EXPECT_EQ(Line("SoftLabel"), "SoftLabel = -3 214 36 1 255 0x00000000 0x000000FF");
    Key(Qt::Key_Right); // the one picked on the canvas keeps following
    EXPECT_EQ(Bounds("SoftLabel", true), right.translated(6, -4));

    // Shift keeps the move on its longer axis.
    const QPoint again = At(Bounds("SoftLabel", true).topLeft());
    Mouse(QEvent::MouseButtonPress, again);
    Mouse(QEvent::MouseMove, again + QPoint(4 * 3, 2 * 3), Qt::ShiftModifier);
    Mouse(QEvent::MouseButtonRelease, again + QPoint(4 * 3, 2 * 3), Qt::ShiftModifier);
    EXPECT_EQ(Bounds("SoftLabel", true), right.translated(10, -4));
}

TEST_F(CanvasTest, TheImageAtEachZoomIsTheKeyedSurfaceRepeatedPixelForPixel)
{
    Open();
    const QImage surface = Session().Surface();
    const QRgb key = surface.pixel(0, ScreenHeight - 1);
    for (int zoom : {1, 2, 3, 8}) {
        view->SetZoom(zoom);
        ASSERT_EQ(view->Zoom(), zoom);
        const QImage shot = view->viewport()->grab().toImage();
        const QPointF origin = view->ViewportPointOf(QPoint(0, 0));
        ASSERT_EQ(view->ViewportPointOf(QPoint(1, 1)) - origin, QPointF(zoom, zoom));
        int compared = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x) {
                const int sx = static_cast<int>(std::floor((x - origin.x()) / zoom));
                const int sy = static_cast<int>(std::floor((y - origin.y()) / zoom));
                if (sx < 0 || sy < 0 || sx >= ScreenWidth || sy >= ScreenHeight)
                    continue;
                const QRgb pixel = surface.pixel(sx, sy);
                const QRgb expected = pixel == key ? qRgb(255, 255, 255) : pixel;
                ASSERT_EQ(shot.pixel(x, y) | 0xFF000000u, expected) << zoom << " at " << x << "," << y;
                ++compared;
            }
        EXPECT_GE(compared, std::min(ScreenWidth * ScreenHeight * zoom * zoom, 800 * 900)) << zoom;
    }
}

// The canvas keeps its picture between paints and paints again only what changed:
// after each step of a drag, and once the snap guides, a selection rectangle over the
// grid or a zoom are gone, it shows what a canvas made afresh shows.
TEST_F(CanvasTest, EveryPaintAfterDragsBandsAndZoomsIsWhatAFreshCanvasPaints)
{
    Open();
    view->SetZoom(8);
    view->CenterScreen();
    // What the screen shows, as the view's updates left it: a changed pixel the view did
    // not ask to show again would differ from a fresh canvas here.
    const auto onScreen = [&] {
        QCoreApplication::processEvents();
        const QPoint at = view->viewport()->mapTo(view.get(), QPoint(0, 0));
        return view->screen()
            ->grabWindow(view->winId(), at.x(), at.y(), view->viewport()->width(), view->viewport()->height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    };
    const auto expectFresh = [&](const char* what) {
        QCoreApplication::processEvents(); // the scroll bars shown or hidden for the zoom
        const QImage shot = onScreen();
        CanvasView fresh(Session(), rig.errors);
        fresh.resize(view->size());
        fresh.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&fresh));
        fresh.SetZoom(view->Zoom());
        QCoreApplication::processEvents();
        ASSERT_EQ(fresh.viewport()->size(), view->viewport()->size());
        fresh.SetGridShown(view->GridShown());
        fresh.horizontalScrollBar()->setValue(view->horizontalScrollBar()->value());
        fresh.verticalScrollBar()->setValue(view->verticalScrollBar()->value());
        ASSERT_EQ(shot, fresh.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32)) << what;
    };
    const QPoint artist = At(Bounds("Artist").center());
    Click(artist);
    Click(At(Bounds("Album").center()), Qt::ShiftModifier);
    expectFresh("two selected");
    const auto drag = [&](QPoint from, const std::vector<QPoint>& steps, bool compare) {
        Mouse(QEvent::MouseButtonPress, from);
        for (const QPoint by : steps) {
            Mouse(QEvent::MouseMove, from + by);
            onScreen(); // painted at each step, as in the editor
            if (compare)
                expectFresh("a drag step");
        }
        Mouse(QEvent::MouseButtonRelease, from + steps.back());
    };
    drag(artist, {QPoint(9, 0), QPoint(40, 17), QPoint(-60, 90), QPoint(3, 2)}, true);
    expectFresh("released");
    view->Tool().SetSnapping(true);
    drag(At(Bounds("Artist").center()), {QPoint(30, 3), QPoint(-61, 44), QPoint(-2, 1)}, false);
    expectFresh("a snapped drag released");
    view->SetGridShown(true);
    drag(At(QPoint(-10, -10)), {QPoint(200, 150), QPoint(260, 170)}, false);
    expectFresh("a selection rectangle over the grid let go");
    ASSERT_TRUE(rig.errors.Run([&] { Session().Undo(); }));
    expectFresh("an undo");
    view->SetZoom(3);
    expectFresh("zoomed out");
    // A picture's colour marked: the canvas shows another image, tinted, then the surface again.
    for (const DrawnElement& element : std::vector<DrawnElement>(Session().DrawnElements())) {
        if (element.picture < 0)
            continue;
        const QImage& pixels = Session().Document().Pictures[static_cast<std::size_t>(element.picture)];
        Session().MarkColor(ColorUses{pixels.pixel(0, 0), {}, {element.picture}});
        if (Session().Marking() && Session().Marking()->surface != Session().Surface())
            break;
    }
    ASSERT_TRUE(Session().Marking() && Session().Marking()->surface != Session().Surface()) << "nothing tinted";
    expectFresh("a colour marked");
    view->Tool().SetSnapping(false); // a fresh view would not show the dragging one's guides
    drag(At(Bounds("Artist").center()), {QPoint(-5, 4), QPoint(6, -9)}, true);
    Session().MarkColor(std::nullopt);
    expectFresh("the marking taken away");
}

// A surface that is not a picture of the screen shows as margin, with no row read
// past its end; the next real surface is painted whole, as a fresh picture paints it.
TEST(CanvasPictureTest, ASurfaceNotOfTheScreensSizeShowsAsMarginAndTheNextOneWhole)
{
    const CanvasGeometry geometry{8, 1, QSize(400, 300), QPoint(300, 300)}; // the screen from (84, 84)
    QImage screen(ScreenWidth, ScreenHeight, QImage::Format_RGB32);
    screen.fill(qRgb(10, 200, 30));
    CanvasPicture picture;
    const CanvasOverlays none;
    picture.Paint(screen, geometry, none);
    QImage small(ScreenWidth / 2, 3, QImage::Format_RGB32);
    small.fill(qRgb(200, 10, 30));
    const QImage margin = picture.Paint(small, geometry, none);
    const QPoint at = geometry.DeviceScreenOrigin() + QPoint(4, 4);
    ASSERT_TRUE(margin.rect().contains(at));
    EXPECT_EQ(margin.pixel(at), margin.pixel(0, 0));
    screen.setPixel(0, 0, qRgb(1, 2, 3));
    const QImage again = picture.Paint(screen, geometry, none);
    EXPECT_EQ(again, CanvasPicture().Paint(screen, geometry, none));
}

TEST(CanvasWindowTest, IsMadeOnlyWhenAskedAndAgainAtStartUpWhenItWasLeftOpen)
{
    QTemporaryDir folder;
    WriteTestAssets(folder.path());
    ScriptedDialogs* dialogs = nullptr;
    QSettings().remove("Canvas");
    {
        auto window = MakeTestWindow(folder.path(), dialogs);
        window->show();
        EXPECT_EQ(window->findChild<CanvasWindow*>(), nullptr);
        window->findChild<QAction*>("Canvas1")->trigger();
        ASSERT_NE(window->findChild<CanvasWindow*>(), nullptr);
        EXPECT_TRUE(window->findChild<CanvasWindow*>()->isVisible());
        window->findChild<CanvasWindow*>()->View()->SetZoom(5);
    } // the program ends with the canvas open
    {
        auto window = MakeTestWindow(folder.path(), dialogs);
        window->show();
        auto* canvas = window->findChild<CanvasWindow*>();
        ASSERT_NE(canvas, nullptr);
        EXPECT_EQ(canvas->View()->Zoom(), 5);
        canvas->close();
    }
    auto window = MakeTestWindow(folder.path(), dialogs);
    window->show();
    EXPECT_EQ(window->findChild<CanvasWindow*>(), nullptr);
}

// A remembered size larger than the screen (a canvas left large on a bigger screen)
// opened the window cut off; it opens inside the screen's available area, beside the
// main window where there is room, named after the skin, and F2 closes it again.
TEST(CanvasWindowTest, OpensInsideTheScreenBesideTheMainWindowAndF2ClosesIt)
{
    QTemporaryDir folder;
    WriteTestAssets(folder.path());
    ScriptedDialogs* dialogs = nullptr;
    QSettings().remove("Canvas");
    QSettings().setValue("Canvas/size", QSize(1280, 1200));
    auto window = MakeTestWindow(folder.path(), dialogs);
    window->show();
    window->move(window->screen()->availableGeometry().topLeft());
    TestSkin skin;
    skin.WriteComplete();
    window->OpenPath(skin.Dir());
    QAction* canvasItem = window->findChild<QAction*>("Canvas1");
    canvasItem->trigger();
    auto* canvas = window->findChild<CanvasWindow*>();
    ASSERT_NE(canvas, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(canvas));
    const QRect available = canvas->screen()->availableGeometry();
    EXPECT_TRUE(available.contains(canvas->frameGeometry()))
        << canvas->frameGeometry().x() << "," << canvas->frameGeometry().y() << " "
        << canvas->frameGeometry().width() << "x" << canvas->frameGeometry().height();
    EXPECT_EQ(QSettings().value("Canvas/size").toSize(), QSize(1280, 1200)); // kept for a larger screen
    EXPECT_EQ(canvas->windowTitle(), QFileInfo(skin.Dir()).fileName() + " - Canvas");
    EXPECT_TRUE(canvasItem->isChecked());
    canvasItem->trigger();
    EXPECT_FALSE(canvas->isVisible());
    EXPECT_FALSE(canvasItem->isChecked());
    QSettings().remove("Canvas");

    // Where the screen has room, the canvas does not cover the main window.
    const QRect owner = window->frameGeometry();
    const QRect screen(0, 0, 1920, 1080);
    const QRect beside = WindowBeside(QRect(0, 0, 510, 380), QSize(640, 600), screen);
    EXPECT_FALSE(beside.intersects(QRect(0, 0, 510, 380)));
    EXPECT_TRUE(screen.contains(beside));
    const QRect pushed = WindowBeside(QRect(1400, 0, 510, 380), QSize(640, 600), screen);
    EXPECT_EQ(pushed.topLeft(), QPoint(760, 0)); // no room to the right: to the left
    EXPECT_EQ(WindowBeside(owner, QSize(5000, 5000), screen).size(), screen.size());
}
