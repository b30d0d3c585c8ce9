#include "CanvasView.h"

#include "CanvasPicking.h"
#include "ErrorReporter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWindow>
#include <QWheelEvent>

#include <algorithm>

namespace {

// The viewport pixels that show the device pixels device at ratio.
QRegion ViewportArea(const QRegion& device, qreal ratio)
{
    if (ratio == 1)
        return device;
    QRegion area;
    for (const QRect& rect : device)
        area += QRectF(rect.x() / ratio, rect.y() / ratio, rect.width() / ratio, rect.height() / ratio).toAlignedRect();
    return area;
}

} // namespace

CanvasView::CanvasView(EditingSession& session, const ErrorReporter& errors, QWidget* parent)
    : QAbstractScrollArea(parent), session_(session), errors_(errors),
      tool_(session, QApplication::startDragDistance())
{
    setObjectName(QStringLiteral("CanvasView"));
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    // paintEvent covers every pixel: no background fill first.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    horizontalScrollBar()->setSingleStep(16);
    verticalScrollBar()->setSingleStep(16);

    connect(&session_, &EditingSession::PreviewDrawn, this, &CanvasView::Refresh);
    connect(&session_, &EditingSession::MarkingChanged, this, &CanvasView::Refresh);
    connect(&session_, &EditingSession::SelectionChanged, this, &CanvasView::Refresh);
    connect(&session_, &EditingSession::Changed, this, [this](const SkinChange& change) {
        if (change.opened)
            tool_.Forget();
    });
    SetZoom(zoom_);
}

// ---- Zoom and geometry ---------------------------------------------------------

qreal CanvasView::Ratio() const
{
    return viewport()->devicePixelRatio();
}

CanvasGeometry CanvasView::Geometry() const
{
    return CanvasGeometry{zoom_, Ratio(), viewport()->size(),
                          QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value())};
}

void CanvasView::UpdateScrollRange()
{
    const QSize content = Geometry().ContentSize();
    const QSize view = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, content.width() - view.width()));
    verticalScrollBar()->setRange(0, std::max(0, content.height() - view.height()));
    horizontalScrollBar()->setPageStep(view.width());
    verticalScrollBar()->setPageStep(view.height());
}

void CanvasView::ScrollTo(QPoint scroll)
{
    horizontalScrollBar()->setValue(scroll.x());
    verticalScrollBar()->setValue(scroll.y());
}

void CanvasView::SetZoom(int zoom, std::optional<QPointF> anchor)
{
    const int chosen = CanvasGeometry::NearestLevel(ZoomLevels(), zoom);
    const QPointF at = anchor.value_or(QPointF(viewport()->width() / 2.0, viewport()->height() / 2.0));
    const QPoint scroll = Geometry().ScrollKeeping(at, chosen);
    const bool changed = chosen != zoom_;
    zoom_ = chosen;
    UpdateScrollRange();
    ScrollTo(scroll);
    Refresh();
    if (changed)
        emit ZoomChanged(zoom_);
}

void CanvasView::ZoomIn()
{
    if (const auto zoom = CanvasGeometry::StepLevel(ZoomLevels(), zoom_, 1))
        SetZoom(*zoom);
}

void CanvasView::ZoomOut()
{
    if (const auto zoom = CanvasGeometry::StepLevel(ZoomLevels(), zoom_, -1))
        SetZoom(*zoom);
}

void CanvasView::ZoomToFit()
{
    SetZoom(CanvasGeometry::FittingLevel(ZoomLevels(), viewport()->size()));
    CenterScreen();
}

void CanvasView::CenterScreen()
{
    ScrollTo(Geometry().ScrollCentringScreen());
}

void CanvasView::SetGridShown(bool shown)
{
    gridShown_ = shown;
    Refresh();
}

// ---- Painting --------------------------------------------------------------------

void CanvasView::Refresh()
{
    if (!isVisible()) {
        stale_ = true; // painted when shown
        return;
    }
    const QImage& frame = PaintPicture();
    // Only what changed is shown again: a drag step moves a few elements of a large view.
    viewport()->update(ViewportArea(picture_.ChangedArea(), frame.devicePixelRatio()));
}

const QImage& CanvasView::PaintPicture()
{
    stale_ = false;
    const CanvasGeometry geometry = Geometry();
    const auto& marking = session_.Marking();
    CanvasOverlays overlays{gridShown_, {}, {}, tool_.Guides().x, tool_.Guides().y, band_,
                            marking ? marking->bounds : std::vector<QRect>{}, marking ? marking->signal : 0};
    AddOutlines(overlays, session_.DrawnElements(), session_.SelectedElements(), session_.Selection(), session_.SelectionMirrored());
    // Kept between paints: a drag repaints at every step, and only what it moved changed.
    // Where the session's surface may have changed since the drawing shown last is all
    // the picture need compare; a marking is another image.
    std::optional<std::vector<QRect>> changed;
    if (!marking && shownDrawing_)
        changed = session_.SurfaceChangedSince(*shownDrawing_);
    shownDrawing_ = marking ? std::nullopt : std::optional(session_.Drawings());
    return picture_.Paint(marking ? marking->surface : session_.Surface(), geometry, overlays,
                          changed ? &*changed : nullptr);
}

void CanvasView::paintEvent(QPaintEvent* event)
{
    const CanvasGeometry geometry = Geometry();
    if (geometry.DeviceSize().isEmpty())
        return;
    // Resized, scrolled or shown again: the picture is painted for the view as it is now.
    const bool repaint = stale_ || !picture_.Shows(geometry);
    const QImage& frame = repaint ? PaintPicture() : picture_.Frame();
    if (repaint && event->region() != QRegion(viewport()->rect()))
        viewport()->update(); // the rest of the view is shown from the new picture too
    QPainter painter(viewport());
    // A copy of each rectangle, clipped to it alone: under a clip of many pieces Qt
    // copies pixel by pixel.
    const qreal ratio = frame.devicePixelRatio();
    for (const QRect& rect : event->region()) {
        painter.setClipRect(rect);
        painter.drawImage(rect, frame, QRectF(rect.x() * ratio, rect.y() * ratio, rect.width() * ratio, rect.height() * ratio));
    }
}

void CanvasView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRange();
}

void CanvasView::showEvent(QShowEvent* event)
{
    QAbstractScrollArea::showEvent(event);
    // Moved to a screen of another scale: the nearest zoom that is sharp there.
    if (QWindow* handle = window()->windowHandle(); handle != nullptr && !screenWatch_)
        screenWatch_ = connect(handle, &QWindow::screenChanged, this, [this] { SetZoom(zoom_); });
    if (centred_)
        return;
    centred_ = true;
    UpdateScrollRange();
    CenterScreen();
}

void CanvasView::scrollContentsBy(int, int)
{
    Refresh();
}

// ---- Selection -------------------------------------------------------------------

void CanvasView::Select(std::vector<ElementRef> elements, const std::optional<ElementRef>& primary, bool mirrored)
{
    session_.SelectMany(std::move(elements), primary, mirrored);
    Refresh();
}

std::vector<MoveTarget> CanvasView::SelectedTargets() const
{
    std::vector<MoveTarget> targets;
    for (const ElementRef& element : session_.SelectedElements())
        if (element.category != SkinCategory::Settings) // a setting has no place on the screen
            targets.push_back({element, element == session_.Selection() && session_.SelectionMirrored()});
    return targets;
}

void CanvasView::SelectInBand(std::optional<QRect> band, bool adding)
{
    const PressPick pick = PickInBand(session_.DrawnElements(), band, session_.SelectedElements(),
                                      session_.Selection(), session_.SelectionMirrored(), adding);
    if (!pick.selected.empty()) // a band round nothing keeps the selection
        Select(pick.selected, pick.primary, pick.mirrored);
}

// ---- Events ----------------------------------------------------------------------

bool CanvasView::event(QEvent* event)
{
    // Tab steps through the elements instead of leaving the canvas.
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
            && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            const bool back = key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier);
            errors_.Run([&] {
                if (const auto next = SteppedElement(session_.DrawnElements(), session_.Selection(), back ? -1 : 1))
                    Select({RefOf(*next)}, RefOf(*next), next->mirrored);
            });
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void CanvasView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mousePressEvent(event);
    // A press selects (as CanvasPicking says), then drags or draws a selection rectangle.
    const QPointF position = event->position();
    const QPoint at = SkinPointAt(position);
    const Qt::KeyboardModifiers keys = event->modifiers();
    errors_.Run([&] {
        tool_.Cancel();
        if (const auto pick = PickOnPress(session_.DrawnElements(), at, session_.SelectedElements(),
                                          session_.Selection(), session_.SelectionMirrored(), keys & Qt::ShiftModifier,
                                          keys & Qt::AltModifier)) {
            Select(pick->selected, pick->primary, pick->mirrored);
            if (pick->drag)
                tool_.Press(SelectedTargets(), position, at);
        } else {
            bandFrom_ = at;
        }
    });
    event->accept();
}

void CanvasView::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF position = event->position();
    emit StatusChanged(StatusText(session_.DrawnElements(), SkinPointAt(position)));
    if (bandFrom_ && (event->buttons() & Qt::LeftButton)) {
        band_ = QRect(*bandFrom_, SkinPointAt(position)).normalized();
        Refresh();
    }
    if (tool_.Dragging() && (event->buttons() & Qt::LeftButton)) {
        const bool straight = event->modifiers() & Qt::ShiftModifier;
        const bool free = event->modifiers() & Qt::AltModifier;
        // One error box, not one per mouse move: a failed step ends the drag.
        if (!errors_.Run([&] { tool_.Move(position, SkinPointAt(position), straight, free); }))
            errors_.Run([&] { tool_.Cancel(); });
    }
    event->accept();
}

void CanvasView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mouseReleaseEvent(event);
    errors_.Run([&] { tool_.Release(); });
    if (std::exchange(bandFrom_, std::nullopt))
        SelectInBand(std::exchange(band_, QRect()), event->modifiers() & Qt::ShiftModifier);
    Refresh();
    event->accept();
}

void CanvasView::wheelEvent(QWheelEvent* event)
{
    if (!(event->modifiers() & Qt::ControlModifier))
        return QAbstractScrollArea::wheelEvent(event);
    const int steps = event->angleDelta().y();
    if (steps != 0)
        if (const auto zoom = CanvasGeometry::StepLevel(ZoomLevels(), zoom_, steps > 0 ? 1 : -1))
            SetZoom(*zoom, event->position());
    event->accept();
}

void CanvasView::keyPressEvent(QKeyEvent* event)
{
    const int step = (event->modifiers() & Qt::ShiftModifier) ? 10 : 1;
    QPoint by;
    switch (event->key()) {
    case Qt::Key_Escape: // a drag put back, or else the selection cleared to the primary one
        if (tool_.Dragging())
            errors_.Run([&] { tool_.Cancel(); });
        else if (const auto primary = session_.Selection())
            Select({*primary}, primary, session_.SelectionMirrored());
        break;
    case Qt::Key_Left: by = QPoint(-step, 0); break;
    case Qt::Key_Right: by = QPoint(step, 0); break;
    case Qt::Key_Up: by = QPoint(0, -step); break;
    case Qt::Key_Down: by = QPoint(0, step); break;
    default:
        return QAbstractScrollArea::keyPressEvent(event);
    }
    if (!by.isNull())
        errors_.Run([&] { tool_.Nudge(SelectedTargets(), by); });
    event->accept();
}

void CanvasView::leaveEvent(QEvent* event)
{
    QAbstractScrollArea::leaveEvent(event);
    emit StatusChanged(QString());
}
