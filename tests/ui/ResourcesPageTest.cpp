#include "ResourcesPage.h"

#include "GifFile.h"
#include "GifWriter.h"
#include "PictureImportDialog.h"
#include "PictureView.h"
#include "TestSession.h"
#include "TestSkin.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

std::string ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "<missing>";
}

void WriteText(const QString& path, const char* text)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
}

} // namespace

class ResourcesPageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        new TResourcesPage(*rig_.session, rig_.dialogs, rig_.errors, &rig_.page);
        rig_.page.resize(313, 270);
        rig_.page.show();
        list_ = rig_.page.findChild<QListWidget*>("ImgListBox");
        view_ = rig_.page.findChild<PictureView*>("ViewSources");
        ASSERT_TRUE(list_ != nullptr && view_ != nullptr);
        ASSERT_TRUE(dialogs_->errors.empty());
    }

    // 4×3 pictures, n.gif all in TestPictureColor(n).
    void OpenSkin(const TestSkin& skin)
    {
        skin.WriteComplete();
        Open(skin);
    }
    void Open(const TestSkin& skin)
    {
        ASSERT_TRUE(rig_.Open(skin.DescriptionPath())) << dialogs_->errors[0].text.toStdString();
    }

    void Click(const char* entry, Qt::KeyboardModifiers modifiers = {})
    {
        // Entries are "12.gif Random": the file, then its role.
        const QList<QListWidgetItem*> found = list_->findItems(QStringLiteral(" ") + entry, Qt::MatchEndsWith);
        ASSERT_EQ(found.size(), 1) << entry;
        QTest::mouseClick(list_->viewport(), Qt::LeftButton, modifiers, list_->visualItemRect(found[0]).center());
    }

    void PressReplace() { QTest::mouseClick(rig_.page.findChild<QPushButton*>("Button1"), Qt::LeftButton); }
    void Replace(const std::optional<QString>& chosen)
    {
        dialogs_->fileAnswers.push_back(chosen);
        PressReplace();
    }

    // The colour of the view's top-left pixel; 0 while it shows nothing.
    QRgb ShownColor() const { return view_->Shown().isNull() ? 0 : view_->Shown().pixel(0, 0); }
    const QImage& Surface() const { return rig_.session->Surface(); }
    QRgb PreviewAt(int x, int y) const { return Surface().pixel(x, y); }
    QString Working(int number) const { return rig_.Working(PictureFileName(number)); }
    SkinDocument& Document() const { return rig_.session->Document(); }

    // The test skin's Random picture (12.gif) moves from 10,100 to 40,60, in memory
    // only, as the property editor edits.
    void MoveRandom() const
    {
        rig_.session->StoreElement({SkinCategory::Pictures, "Random"}, ItemValues{40, 60, 0, 0, 0, 0, 0, ""}, 0);
    }

    TestSession rig_;
    QTemporaryDir elsewhere_;
    TestSkin skin_;
    ScriptedDialogs* dialogs_ = &rig_.dialogs;
    QListWidget* list_ = nullptr;
    PictureView* view_ = nullptr;
};

TEST_F(ResourcesPageTest, EntriesShowTheirPictureOnceASkinIsOpen)
{
    Click("SoftPicture");
    EXPECT_TRUE(view_->Shown().isNull());
    OpenSkin(skin_);
    EXPECT_TRUE(view_->Shown().isNull()); // an Open leaves the page as it is

    Click("TitlePicture");
    EXPECT_EQ(view_->Shown(), LoadGifFile(Working(1)));
    Click("SoftPicture");
    EXPECT_EQ(ShownColor(), TestPictureColor(0));
    QTest::keyClick(list_, Qt::Key_Down);
    EXPECT_EQ(ShownColor(), TestPictureColor(1));

    TestSkin other;
    other.WriteComplete();
    WriteGifFile(other.Path("0.gif"), SolidGif(4, 3, qRgb(1, 2, 3)));
    WriteGifFile(other.Path("1.gif"), SolidGif(4, 3, qRgb(4, 5, 6)));
    Open(other);
    EXPECT_EQ(ShownColor(), TestPictureColor(1)); // the former skin's, until an entry is clicked
    Click("TitlePicture"); // the entry still highlighted
    EXPECT_EQ(ShownColor(), qRgb(4, 5, 6));
    Click("SoftPicture");
    EXPECT_EQ(ShownColor(), qRgb(1, 2, 3));
    EXPECT_TRUE(dialogs_->errors.empty());
}

TEST_F(ResourcesPageTest, AReplacementShowsTheNewPictureInTheViewAndInThePreview)
{
    OpenSkin(skin_);
    Click("Random");
    MoveRandom();
    const QString chosen = elsewhere_.filePath("star.gif");
    WriteGifFile(chosen, SolidGif(6, 5, qRgb(250, 200, 0)));

    Replace(chosen);
    EXPECT_TRUE(dialogs_->errors.empty());
    EXPECT_EQ(dialogs_->fileRequests.back().dialog, "ImgReplaceDialog");
    EXPECT_EQ(ReadAll(Working(12)), ReadAll(chosen));
    EXPECT_EQ(view_->Shown().size(), QSize(6, 5));
    EXPECT_EQ(ShownColor(), qRgb(250, 200, 0));
    EXPECT_EQ(PreviewAt(40 + 5, 60 + 4), qRgb(250, 200, 0)); // where the edit put it, at its new size
}

TEST_F(ResourcesPageTest, ACancelledDialogChangesNothing)
{
    OpenSkin(skin_);
    Click("Random");
    MoveRandom();
    const auto edited = Document().Lines.Lines();
    const QImage drawn = Surface().copy();

    Replace(std::nullopt);
    EXPECT_TRUE(dialogs_->errors.empty());
    EXPECT_EQ(Document().Lines.Lines(), edited);
    EXPECT_EQ(rig_.session->History().count(), 1);
    EXPECT_EQ(ShownColor(), TestPictureColor(12));
    EXPECT_EQ(Surface(), drawn);
}

TEST_F(ResourcesPageTest, ReplaceAsksForAnOpenFirstAndThenForASelection)
{
    PressReplace();
    Click("Random");
    PressReplace();
    ASSERT_EQ(dialogs_->warnings.size(), 2u);
    for (const auto& warning : dialogs_->warnings) {
        EXPECT_EQ(warning.title, "Error");
        EXPECT_EQ(warning.text, "Open a skin before replacing a picture");
    }
    EXPECT_TRUE(dialogs_->fileRequests.empty());
    EXPECT_FALSE(QFile::exists(rig_.executable.filePath("Temp")));
    EXPECT_TRUE(Surface().isNull());

    list_->clearSelection();
    OpenSkin(skin_);
    PressReplace();
    ASSERT_EQ(dialogs_->warnings.size(), 3u);
    EXPECT_EQ(dialogs_->warnings[2].title, "Error");
    EXPECT_EQ(dialogs_->warnings[2].text, "Select picture to replace");
    EXPECT_TRUE(dialogs_->fileRequests.empty());
    EXPECT_TRUE(dialogs_->errors.empty());
}

TEST_F(ResourcesPageTest, ARejectedFileReportsTheDecoderErrorAndKeepsTheEarlierPicture)
{
    OpenSkin(skin_);
    Click("Random");
    MoveRandom();
    const std::string earlier = ReadAll(Working(12));
    const QString notAPicture = elsewhere_.filePath("notes.gif");
    WriteText(notAPicture, "just some text");

    Replace(notAPicture);
    ASSERT_EQ(dialogs_->errors.size(), 1u);
    EXPECT_EQ(dialogs_->errors[0].title, "Vellumark");
    // The file the author chose, not the working copy's.
    EXPECT_EQ(dialogs_->errors[0].text, "Cannot read picture \"" + notAPicture + "\". Data is not in GIF format.");
    EXPECT_EQ(ReadAll(Working(12)), earlier);
    EXPECT_EQ(ShownColor(), TestPictureColor(12));
    EXPECT_EQ(PreviewAt(41, 61), TestPictureColor(12)); // the edit kept
    EXPECT_EQ(rig_.session->History().count(), 1);
}

// Each entry names its file; the view says the picture's size and zooms it 1x to 8x,
// sharp, over a checkerboard where it is transparent.
TEST_F(ResourcesPageTest, EntriesNameTheirFileAndTheViewZoomsOverACheckerboard)
{
    EXPECT_EQ(list_->item(12)->text(), "12.gif Random");
    EXPECT_EQ(list_->item(0)->text(), "0.gif SoftPicture");
    skin_.WriteComplete();
    GifSpec picture = SolidGif(5, 4, qRgb(0, 0, 0));
    picture.palette = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    picture.transparentIndex = 0;
    picture.pixels[0] = 1; // white; every other pixel transparent
    WriteGifFile(skin_.Path("12.gif"), picture);
    Open(skin_);
    Click("Random");
    const auto* size = rig_.page.findChild<QLabel*>("PictureSize");
    ASSERT_NE(size, nullptr);
    EXPECT_EQ(size->text(), "5\u00d74");
    auto* zoom = rig_.page.findChild<QSpinBox*>("PictureZoom");
    ASSERT_NE(zoom, nullptr);
    EXPECT_EQ(zoom->minimum(), 1);
    EXPECT_EQ(zoom->maximum(), 8);
    zoom->setValue(3);
    EXPECT_EQ(view_->size(), QSize(15, 12));
    const QImage drawn = view_->grab().toImage();
    EXPECT_EQ(drawn.pixel(2, 2), qRgb(255, 255, 255)); // one picture pixel, 3x3 screen pixels
    EXPECT_NE(drawn.pixel(4, 4), qRgb(255, 255, 255)); // transparent: the checkerboard
    EXPECT_NE(drawn.pixel(4, 4), drawn.pixel(8, 4));   // of two greys
}

TEST_F(ResourcesPageTest, APictureOfAnotherKindIsShownConvertedAndTakenAsOneStepThatUndoesByteForByte)
{
    OpenSkin(skin_);
    Click("Random");
    const std::string before = ReadAll(Working(12));
    // A soft-edged 10x10 disc in many colours.
    QImage moon(10, 10, QImage::Format_ARGB32);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            moon.setPixel(x, y, qRgba(25 * x, 25 * y, 120, std::max(0, 255 - 12 * ((x - 5) * (x - 5) + (y - 5) * (y - 5)))));
    const QString chosen = elsewhere_.filePath("moon.png");
    ASSERT_TRUE(moon.save(chosen));

    // Cancelled: nothing changes.
    dialogs_->whileModalShown = [](QDialog& dialog) { dialog.reject(); };
    Replace(chosen);
    ASSERT_EQ(dialogs_->modals.size(), 1u);
    EXPECT_EQ(ReadAll(Working(12)), before);
    EXPECT_EQ(rig_.session->History().count(), 0);

    // OK, with 8 colours chosen: the GIF the dialog showed replaces 12.gif.
    QByteArray shown;
    dialogs_->whileModalShown = [&](QDialog& dialog) {
        auto* import = dynamic_cast<TPictureImportDialog*>(&dialog);
        ASSERT_TRUE(import != nullptr);
        EXPECT_FALSE(dialog.findChild<QCheckBox*>("ImportDither")->isChecked());
        EXPECT_TRUE(dialog.findChild<QCheckBox*>("ImportKeepColours")->isEnabled());
        dialog.findChild<QSpinBox*>("ImportColours")->setValue(8);
        EXPECT_NE(dialog.findChild<QLabel*>("ImportSummary")->text().indexOf("Colours: 37 \u2192 7"), -1)
            << dialog.findChild<QLabel*>("ImportSummary")->text().toStdString();
        shown = import->Converted()->gif;
        dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    };
    Replace(chosen);
    EXPECT_TRUE(dialogs_->errors.empty());
    EXPECT_EQ(ReadAll(Working(12)), shown.toStdString());
    EXPECT_EQ(rig_.session->History().text(0), "Replace 12.gif from moon.png");
    EXPECT_EQ(view_->Shown().size(), QSize(10, 10));
    EXPECT_EQ(view_->Shown().pixel(0, 0), 0u); // the soft corner became transparent

    // The choice is remembered by the next dialog.
    dialogs_->whileModalShown = [](QDialog& dialog) {
        EXPECT_EQ(dialog.findChild<QSpinBox*>("ImportColours")->value(), 8);
        dialog.reject();
    };
    Replace(chosen);

    rig_.session->Undo();
    EXPECT_EQ(ReadAll(Working(12)), before);
    EXPECT_EQ(ShownColor(), TestPictureColor(12));
}
