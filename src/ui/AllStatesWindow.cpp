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

    ZoomBox = new QComboBox(this);
    ZoomBox->setObjectName(QStringLiteral("ZoomBox"));
    for (int zoom = 1; zoom <= MaxZoom; ++zoom)
        ZoomBox->addItem(QStringLiteral("%1\u00d7").arg(zoom));
    auto* zoomLabel = new QLabel(QStringLiteral("Zoom:"), this);
    zoomLabel->setBuddy(ZoomBox);

    SheetView = new PictureView;
    SheetView->setObjectName(QStringLiteral("SheetView"));
    SheetScroll = new QScrollArea(this);
    SheetScroll->setObjectName(QStringLiteral("SheetScroll"));
    SheetScroll->setWidget(SheetView);
    SheetScroll->setBackgroundRole(QPalette::Base);

    auto* bar = new QHBoxLayout;
    bar->addWidget(zoomLabel);
    bar->addWidget(ZoomBox);
    bar->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(SheetScroll);

    const SheetLayout sheet;
    resize(sheet.Size() + QSize(40, 60));

    redraw_ = new QTimer(this);
    redraw_->setSingleShot(true);
    redraw_->setInterval(0);
    connect(redraw_, &QTimer::timeout, this, &TAllStatesWindow::Redraw);
    connect(ZoomBox, &QComboBox::currentIndexChanged, this, [this] { ShowZoomed(); });
    // Every change redraws the main preview, and what does not (a load that failed)
    // opens or reloads a skin: these cover edits, undo, redo, drags and pictures.
    connect(&session_, &EditingSession::PreviewDrawn, this, &TAllStatesWindow::Schedule);
    connect(&session_, &EditingSession::Changed, this, &TAllStatesWindow::Schedule);
    connect(&session_, &EditingSession::SettingsChanged, this, &TAllStatesWindow::Schedule);
}

int TAllStatesWindow::Zoom() const
{
    return ZoomBox->currentIndex() + 1;
}

void TAllStatesWindow::SetZoom(int zoom)
{
    ZoomBox->setCurrentIndex(std::clamp(zoom, 1, MaxZoom) - 1);
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
        sheet_ = DrawStatesSheet(session_.Document(), session_.SampleTexts(), session_.Settings());
    } catch (const SkinError&) {
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
        SheetView->resize(zoomed.size());
        SheetView->ShowPicture(zoomed);
    });
}
