#include "ResourcesPage.h"

#include "ChoiceList.h"
#include "FileDrops.h"
#include "DialogService.h"
#include "EditingSession.h"
#include "ErrorReporter.h"
#include "PictureImportDialog.h"
#include "PictureView.h"
#include "Placement.h"
#include "SkinError.h"

#include <QAction>
#include <QDesktopServices>
#include <QDropEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QSignalBlocker>
#include <QUrl>
#include <QVBoxLayout>

namespace {

constexpr int ListWidth = 121;
constexpr int ViewHeight = ScreenHeight - 24; // room beneath for the size and the zoom

const QString MessageCaption = QStringLiteral("Error");

} // namespace

TResourcesPage::TResourcesPage(EditingSession& session, DialogService& dialogs, const ErrorReporter& errors,
                               QWidget* page)
    : QWidget(page), session_(session), dialogs_(dialogs), errors_(errors)
{
    setObjectName(QStringLiteral("ResourcesPage"));
    auto* fill = new QVBoxLayout(page);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(this);

    ImgListBox = Place(new ChoiceList(this), "ImgListBox", 0, 0, ListWidth, height());
    // In the order of the file numbers: the entry at index n stands for "n.gif".
    // Named by file first: the file is what an author replaces or edits elsewhere.
    for (int number = 0; number < SkinPictureCount; ++number) {
        const QString label = PictureFileName(number) + ' ' + QString::fromLatin1(RoleOfPicture(number).name);
        ImgListBox->addItem(label);
        ImgListBox->item(number)->setToolTip(label);
    }
    Button1 = Place(new QPushButton(QStringLiteral("Replace from file"), this), "Button1", 128, 8, 177, 25);
    CreatePictureView();

    // A GIF dropped on an entry replaces that entry's picture.
    ImgListBox->viewport()->setAcceptDrops(true);
    ImgListBox->viewport()->installEventFilter(this);
    editExternallyAction_ = new QAction(QStringLiteral("Edit externally"), this);
    editExternallyAction_->setObjectName(QStringLiteral("EditExternally1"));
    connect(editExternallyAction_, &QAction::triggered, this, &TResourcesPage::EditExternallyClick);
    ImgListBox->setContextMenuPolicy(Qt::ActionsContextMenu);
    ImgListBox->addAction(editExternallyAction_);
    ViewSources->setContextMenuPolicy(Qt::ActionsContextMenu);
    ViewSources->addAction(editExternallyAction_);

    // A new selection by mouse or keyboard, or a click on the selected entry.
    connect(ImgListBox, &ChoiceList::Chosen, this, &TResourcesPage::ImgListBoxClick);
    connect(Button1, &QPushButton::clicked, this, &TResourcesPage::Button1Click);
    // The picture shown changed (undo, redo, another program): show it as it is now.
    connect(&session_, &EditingSession::Changed, this, [this](const SkinChange& change) {
        if (!change.opened && change.TouchesPicture(shown_) && session_.Document().SkinLoaded
            && !session_.Document().Pictures[static_cast<std::size_t>(shown_)].isNull())
            ShowPicture(shown_);
    });
    connect(&session_, &EditingSession::PictureRequested, this, &TResourcesPage::FollowPictureRequest);
}

void TResourcesPage::CreatePictureView()
{
    // The view scrolls when the picture, enlarged, is larger than its place; beneath
    // it, the picture's size and the zoom.
    auto* scroll = Place(new QScrollArea(this), "ViewScroll", 128, 40, ScreenWidth, ViewHeight);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ViewSources = new PictureView;
    ViewSources->setObjectName(QStringLiteral("ViewSources"));
    ViewSources->resize(ScreenWidth, ViewHeight);
    ViewSources->SetCheckerboard(true);
    scroll->setWidget(ViewSources);
    PictureSize = Place(new QLabel(this), "PictureSize", 128, 40 + ViewHeight + 4, 100, 20);
    PictureZoom = Place(new QSpinBox(this), "PictureZoom", 128 + ScreenWidth - 64, 40 + ViewHeight + 2, 64, 22);
    PictureZoom->setRange(1, PictureView::MaxZoom);
    PictureZoom->setSuffix(QStringLiteral("\u00d7"));
    PictureZoom->setToolTip(QStringLiteral("Zoom"));
    connect(PictureZoom, &QSpinBox::valueChanged, ViewSources, &PictureView::SetZoom);
}

void TResourcesPage::ShowSize()
{
    const QImage& shown = ViewSources->Shown();
    PictureSize->setText(shown.isNull() ? QString() : QStringLiteral("%1\u00d7%2").arg(shown.width()).arg(shown.height()));
}

void TResourcesPage::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // Docked to the left edge: the list always spans the page's full height.
    ImgListBox->setGeometry(0, 0, ListWidth, height());
}

int TResourcesPage::SelectedIndex() const
{
    return ImgListBox->SelectedRow();
}

void TResourcesPage::ShowPicture(int number)
{
    ViewSources->ShowPicture(session_.Picture(number));
    shown_ = number;
    ShowSize();
}

void TResourcesPage::FollowPictureRequest(int number)
{
    if (number < 0 || number >= SkinPictureCount)
        return;
    errors_.Run([&] {
        {
            const QSignalBlocker quiet(ImgListBox); // not a click: shown below, without an error box
            ImgListBox->setCurrentRow(number);
        }
        // Asked for because something is wrong with it, most often: an empty view says
        // so better than an error box.
        ViewSources->ShowPicture(session_.Document().Pictures[static_cast<std::size_t>(number)]);
        shown_ = number;
        ShowSize();
    });
}

void TResourcesPage::ImgListBoxClick()
{
    errors_.Run([this] {
        const int number = SelectedIndex();
        if (!session_.Document().SkinLoaded || number < 0)
            return;
        if (session_.PictureHeld(number).kind == PictureContent::Kind::Absent)
            return; // the view keeps what it shows
        ShowPicture(number);
    });
}

bool TResourcesPage::MayReplace(int number)
{
    // Before the first Open there is no working copy to put a picture into.
    if (session_.Document().SkinFileName.isEmpty()) {
        dialogs_.ShowWarning(MessageCaption, QStringLiteral("Open a skin before replacing a picture"));
        return false;
    }
    if (number < 0) {
        dialogs_.ShowWarning(MessageCaption, QStringLiteral("Select picture to replace"));
        return false;
    }
    return true;
}

void TResourcesPage::ReplaceFrom(int number, const std::optional<QString>& chosen)
{
    // A refused picture changes nothing, and the view keeps the picture it showed.
    const bool there = chosen && !chosen->isEmpty() && (QFileInfo(*chosen).exists() || QFileInfo(*chosen).isSymLink());
    if (std::optional<QImage> other = there ? session_.PictureToConvert(*chosen) : std::nullopt)
        ConvertAndReplace(number, *chosen, *other);
    else
        session_.ReplacePicture(number, chosen); // a GIF is taken as it is
    ShowPicture(number);
}

void TResourcesPage::ConvertAndReplace(int number, const QString& chosen, const QImage& picture)
{
    // The colours of the GIF it replaces, to be kept when the author asks.
    std::optional<GifColors> replaced;
    const PictureContent& held = session_.PictureHeld(number);
    if (held.kind == PictureContent::Kind::Bytes) {
        GifColors colors;
        try {
            DecodeGif(QByteArray::fromRawData(held.bytes->data(), static_cast<qsizetype>(held.bytes->size())),
                      &colors);
            replaced = std::move(colors);
        } catch (const SkinError&) {
            // a picture that does not decode has no colours to keep
        }
    }
    TPictureImportDialog dialog(picture, QFileInfo(chosen).fileName(), PictureFileName(number), std::move(replaced),
                                importChoices_, this);
    dialogs_.ShowModal(dialog);
    if (dialog.result() != QDialog::Accepted || !dialog.Converted())
        return;
    importChoices_ = dialog.Choices();
    session_.ReplacePictureConverted(number, chosen, dialog.Converted()->gif);
}

void TResourcesPage::Button1Click()
{
    errors_.Run([this] {
        const int number = SelectedIndex();
        if (!MayReplace(number))
            return;
        ReplaceFrom(number, dialogs_.OpenPictureFile());
    });
}

void TResourcesPage::EditExternallyClick()
{
    errors_.Run([this] {
        const int number = SelectedIndex();
        if (session_.Document().SkinFileName.isEmpty() || number < 0)
            return;
        // The working copy, never the folder the skin came from: what the program
        // saves there is watched and taken into the editor.
        const QString file = session_.Workspace().PictureFile(number);
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(file)))
            dialogs_.ShowWarning(MessageCaption, QStringLiteral("No program to edit \"%1\" was found")
                                                     .arg(QDir::toNativeSeparators(file)));
    });
}

bool TResourcesPage::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched != ImgListBox->viewport()
        || (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop))
        return QWidget::eventFilter(watched, event);
    auto* drop = static_cast<QDropEvent*>(event);
    const QString dropped = DroppedPicture(drop->mimeData());
    if (dropped.isEmpty()) {
        drop->ignore();
        return true;
    }
    // Entered anywhere on the list; taken only over an entry.
    const int row = ImgListBox->indexAt(drop->position().toPoint()).row();
    if (type != QEvent::DragEnter && row < 0) {
        drop->ignore();
        return true;
    }
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (type == QEvent::Drop) {
        errors_.Run([&] {
            ImgListBox->setCurrentRow(row);
            if (MayReplace(row))
                ReplaceFrom(row, dropped);
        });
    }
    return true;
}
