#include "AllStatesWindow.h"

#include "EditingSession.h"
#include "ErrorReporter.h"
#include "PictureView.h"
#include "SkinError.h"
#include "StatesSheet.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

TAllStatesWindow::TAllStatesWindow(EditingSession& session, const ErrorReporter& errors, QWidget* parent)
    : QWidget(parent, Qt::Window), session_(session), errors_(errors)
{
    setObjectName(QStringLiteral("AllStatesWindow"));
    setWindowTitle(QStringLiteral("All states"));

    zoomBox_ = new QComboBox(this);
    zoomBox_->setObjectName(QStringLiteral("ZoomBox"));
    for (int zoom = 1; zoom <= MaxZoom; ++zoom)
        zoomBox_->addItem(QStringLiteral("%1\u00d7").arg(zoom));
    auto* zoomLabel = new QLabel(QStringLiteral("Zoom:"), this);
    zoomLabel->setBuddy(zoomBox_);

    sheetView_ = new PictureView;
    sheetView_->setObjectName(QStringLiteral("SheetView"));
    sheetScroll_ = new QScrollArea(this);
    sheetScroll_->setObjectName(QStringLiteral("SheetScroll"));
    sheetScroll_->setWidget(sheetView_);
    sheetScroll_->setBackgroundRole(QPalette::Base);

    auto* bar = new QHBoxLayout;
    bar->addWidget(zoomLabel);
    bar->addWidget(zoomBox_);
    bar->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(sheetScroll_);

    const SheetLayout sheet;
    resize(sheet.Size() + QSize(40, 60));

    redraw_ = new QTimer(this);
    redraw_->setSingleShot(true);
    redraw_->setInterval(0);
    connect(redraw_, &QTimer::timeout, this, &TAllStatesWindow::Redraw);
    connect(zoomBox_, &QComboBox::currentIndexChanged, this, [this] { ShowZoomed(); });
    // Every change redraws the main preview, and what does not (a load that failed)
    // opens or reloads a skin: these cover edits, undo, redo, drags and pictures.
    connect(&session_, &EditingSession::PreviewDrawn, this, &TAllStatesWindow::Schedule);
    connect(&session_, &EditingSession::Changed, this, &TAllStatesWindow::Schedule);
    connect(&session_, &EditingSession::SettingsChanged, this, &TAllStatesWindow::Schedule);
}

int TAllStatesWindow::Zoom() const
{
    return zoomBox_->currentIndex() + 1;
}

void TAllStatesWindow::SetZoom(int zoom)
{
    zoomBox_->setCurrentIndex(std::clamp(zoom, 1, MaxZoom) - 1);
}

void TAllStatesWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (stale_)
        Redraw();
}

void TAllStatesWindow::Schedule()
{
    stale_ = true;
    if (isVisible())
        redraw_->start();
}

void TAllStatesWindow::Redraw()
{
    stale_ = false;
    if (!session_.Document().SkinLoaded)
        return;
    // A skin the renderer refuses has been reported where the change was made; the
    // window keeps its last sheet rather than showing the same error again.
    try {
        // Drawn again in place (frames and labels stay): the view lets go of the sheet
        // it shows first, so that the drawing does not copy the whole sheet.
        sheetView_->ShowPicture(QImage());
        DrawStatesSheet(sheet_, session_.ShownDocument(), session_.SampleTexts(), session_.Settings(), cache_);
    } catch (const SkinError&) {
        ShowZoomed();
        return;
    } catch (const std::exception& error) {
        errors_.Report(error.what()); // out of memory, most likely: never past the timer's frame
        return;
    }
    ShowZoomed();
}

void TAllStatesWindow::ShowZoomed()
{
    errors_.Run([this] {
        if (sheet_.isNull())
            return;
        const QImage zoomed = ScaledImage(sheet_, Zoom());
        sheetView_->resize(zoomed.size());
        sheetView_->ShowPicture(zoomed);
    });
}
