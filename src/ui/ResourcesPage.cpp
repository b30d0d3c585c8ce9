#include "ResourcesPage.h"

#include "GifPicture.h"
#include "MainWindow.h"
#include "PictureView.h"
#include "Placement.h"

#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <array>

namespace {

// In the order of the file numbers: the entry at index n stands for "n.gif".
constexpr std::array<const char*, SkinPictureCount> PictureEntries = {
    "SoftPicture", "TitlePicture",
    "Backward disabled", "Play disabled", "Pause disabled", "Stop disabled", "Forward disabled",
    "Backward enabled", "Play enabled", "Pause enabled", "Stop enabled", "Forward enabled",
    "Random", "RepetitionOne", "RepetitionAll",
};

constexpr int ListWidth = 121;

const QString MessageCaption = QStringLiteral("Error");

} // namespace

TResourcesPage::TResourcesPage(TMainFrm& window) : QWidget(window.ResourcesPage()), window_(window)
{
    setObjectName(QStringLiteral("ResourcesPage"));
    auto* fill = new QVBoxLayout(window.ResourcesPage());
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(this);

    ImgListBox = Place(new QListWidget(this), "ImgListBox", 0, 0, ListWidth, height());
    ImgListBox->setSelectionMode(QAbstractItemView::SingleSelection);
    for (const char* entry : PictureEntries)
        ImgListBox->addItem(QString::fromLatin1(entry));
    Button1 = Place(new QPushButton(QStringLiteral("Replace from file"), this), "Button1", 128, 8, 177, 25);
    ViewSources = Place(new PictureView(this), "ViewSources", 128, 40, 176, 220);

    // A change of selection by mouse or keyboard; clearing it counts too.
    connect(ImgListBox, &QListWidget::itemSelectionChanged, this, &TResourcesPage::ImgListBoxClick);
    connect(Button1, &QPushButton::clicked, this, &TResourcesPage::Button1Click);
}

void TResourcesPage::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // Docked to the left edge: the list always spans the page's full height.
    ImgListBox->setGeometry(0, 0, ListWidth, height());
}

int TResourcesPage::SelectedIndex() const
{
    // The current row alone is no selection: focus sets it without selecting.
    const QList<QListWidgetItem*> selected = ImgListBox->selectedItems();
    return selected.isEmpty() ? -1 : ImgListBox->row(selected.constFirst());
}

void TResourcesPage::ImgListBoxClick()
{
    window_.Errors().Run([this] {
        const int number = SelectedIndex();
        if (!window_.Document().SkinLoaded || number < 0)
            return;
        const QString file = window_.Workspace().PictureFile(number);
        if (!QFileInfo(file).isFile())
            return; // the view keeps what it shows
        ViewSources->ShowPicture(LoadGifFile(file));
    });
}

void TResourcesPage::Button1Click()
{
    window_.Errors().Run([this] {
        DialogService& dialogs = window_.Dialogs();
        // Before the first Open there is no working copy to put a picture into.
        if (window_.Document().SkinFileName.isEmpty()) {
            dialogs.ShowWarning(MessageCaption, QStringLiteral("Open a skin before replacing a picture"));
            return;
        }
        const int number = SelectedIndex();
        if (number < 0) {
            dialogs.ShowWarning(MessageCaption, QStringLiteral("Select picture to replace"));
            return;
        }
        const std::optional<QString> chosen = dialogs.OpenPictureFile();
        if (!window_.Errors().Run([&] { window_.Workspace().ReplacePicture(number, chosen); })) {
            // A picture the decoder rejected has been put back and the skin reloaded:
            // the preview follows what the document holds now, and the view keeps the
            // picture it showed.
            if (window_.Document().SkinLoaded)
                window_.RedrawPreview();
            return;
        }
        // Loaded before anything changes on screen: a missing file leaves the view and
        // the preview as they are.
        ViewSources->ShowPicture(LoadGifFile(window_.Workspace().PictureFile(number)));
        window_.RedrawPreview();
    });
}
