#include "CanvasView.h"

#include "ErrorReporter.h"
#include "ItemValueMapping.h"
#include "PreviewView.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWindow>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

constexpr QRgb MarginColour = qRgb(96, 96, 96);
const QColor GridColour(128, 128, 128, 120);

int FloorDiv(int value, int divisor)
{
    return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

std::int32_t Shifted(std::int32_t value, int by)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(std::int64_t{value} + by,
                                                              std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

// The values the property editor shows for element's line, which it writes back as
// they are shown: the codes of a text item through its lists.
ItemValues ShownValues(const SkinDocument& document, const ElementRef& element)
{
    ItemValues values;
    switch (element.category) {
    case SkinCategory::Strings: {
        const TSkiStr item = document.ReadSkiStr(element.key);
        const ListedCodes codes = CodesAsListed(item.Anchor, item.FontId, item.StyleCode);
        values.X = item.X;
        values.Y = item.Y;
        values.Anchor = codes.anchor;
        values.FontId = codes.fontId;
        values.StyleCode = codes.styleCode;
        values.Color = item.Color;
        break;
    }
    case SkinCategory::Pictures: {
        TPicturePos position; // a value that cannot be read shows as 0
        document.ReadPicturePos(element.key, position);
        values.X = position.X;
        values.Y = position.Y;
        break;
    }
    case SkinCategory::Objects: {
        const TSkiObject object = document.ReadSkiObject(element.key);
        values.X = object.X;
        values.Y = object.Y;
        values.W = object.W;
        values.H = object.H;
        values.Color = object.Color;
        break;
    }
    case SkinCategory::Settings:
        break;
    }
    return values;
}

ElementRef RefOf(const DrawnElement& element)
{
    return ElementRef{element.category, element.key};
}

bool Is(const DrawnElement& drawn, const ElementRef& element)
{
    return drawn.category == element.category && drawn.key == element.key;
}

QString StatusName(const DrawnElement& element)
{
    QString name = QString::fromLatin1(element.key.data(), static_cast<qsizetype>(element.key.size())).trimmed();
    return element.mirrored ? name + QStringLiteral(" (right)") : name;
}

} // namespace

CanvasView::CanvasView(EditingSession& session, const ErrorReporter& errors, QWidget* parent)
    : QAbstractScrollArea(parent), session_(session), errors_(errors)
{
    setObjectName(QStringLiteral("CanvasView"));
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    // paintEvent covers every pixel: no background fill first.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    horizontalScrollBar()->setSingleStep(16);
    verticalScrollBar()->setSingleStep(16);

    // The surface is read while painting: a new drawing only needs a paint.
    connect(&session_, &EditingSession::PreviewDrawn, viewport(), qOverload<>(&QWidget::update));
    connect(&session_, &EditingSession::SelectionChanged, this, [this] {
        if (!selecting_)
            mirroredSelected_ = false;
        viewport()->update();
    });
    connect(&session_, &EditingSession::Changed, this, [this](const SkinChange& change) {
        if (change.opened)
            drag_.reset();
    });
    SetZoom(zoom_);
}

// ---- Zoom and geometry ---------------------------------------------------------

qreal CanvasView::Ratio() const
{
    return viewport()->devicePixelRatio();
}

std::vector<int> CanvasView::ZoomLevels() const
{
    std::vector<int> levels;
    for (int zoom = 1; zoom <= MaxZoom; ++zoom) {
        const qreal device = zoom * Ratio();
        if (std::abs(device - std::round(device)) < 1e-6)
            levels.push_back(zoom);
    }
    // A ratio no zoom multiplies to a whole number: every zoom, as sharp as it gets.
    if (levels.empty())
        for (int zoom = 1; zoom <= MaxZoom; ++zoom)
            levels.push_back(zoom);
    return levels;
}

QSize CanvasView::ContentSize() const
{
    return QSize((ScreenWidth + 2 * Margin) * zoom_, (ScreenHeight + 2 * Margin) * zoom_);
}

QPoint CanvasView::DeviceOrigin() const
{
    const QSize content = ContentSize();
    const QSize view = viewport()->size();
    const qreal x = content.width() < view.width() ? (view.width() - content.width()) / 2
                                                   : -horizontalScrollBar()->value();
    const qreal y = content.height() < view.height() ? (view.height() - content.height()) / 2
                                                     : -verticalScrollBar()->value();
    return QPoint(qRound(x * Ratio()), qRound(y * Ratio()));
}

void CanvasView::UpdateScrollRange()
{
    const QSize content = ContentSize();
    const QSize view = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, content.width() - view.width()));
    verticalScrollBar()->setRange(0, std::max(0, content.height() - view.height()));
    horizontalScrollBar()->setPageStep(view.width());
    verticalScrollBar()->setPageStep(view.height());
}

void CanvasView::SetZoom(int zoom, std::optional<QPointF> anchor)
{
    const std::vector<int> levels = ZoomLevels();
    const int chosen = *std::min_element(levels.begin(), levels.end(), [zoom](int a, int b) {
        return std::abs(a - zoom) < std::abs(b - zoom) || (std::abs(a - zoom) == std::abs(b - zoom) && a < b);
    });
    const QPointF at = anchor.value_or(QPointF(viewport()->width() / 2.0, viewport()->height() / 2.0));
    // The content position under the anchor, in skin pixels, before the change.
    const QPoint origin = DeviceOrigin();
    const qreal scale = Scale();
    const QPointF content((at.x() * Ratio() - origin.x()) / scale, (at.y() * Ratio() - origin.y()) / scale);

    const bool changed = chosen != zoom_;
    zoom_ = chosen;
    UpdateScrollRange();
    horizontalScrollBar()->setValue(qRound(content.x() * zoom_ - at.x()));
    verticalScrollBar()->setValue(qRound(content.y() * zoom_ - at.y()));
    viewport()->update();
    if (changed)
        emit ZoomChanged(zoom_);
}

void CanvasView::ZoomIn()
{
    const std::vector<int> levels = ZoomLevels();
    const auto next = std::upper_bound(levels.begin(), levels.end(), zoom_);
    if (next != levels.end())
        SetZoom(*next);
}

void CanvasView::ZoomOut()
{
    const std::vector<int> levels = ZoomLevels();
    const auto next = std::lower_bound(levels.begin(), levels.end(), zoom_);
    if (next != levels.begin())
        SetZoom(*std::prev(next));
}

void CanvasView::ZoomToFit()
{
    const std::vector<int> levels = ZoomLevels();
    int fits = levels.front();
    for (int zoom : levels)
        if (ScreenWidth * zoom <= viewport()->width() && ScreenHeight * zoom <= viewport()->height())
            fits = zoom;
    SetZoom(fits);
    CentreScreen();
}

void CanvasView::CentreScreen()
{
    horizontalScrollBar()->setValue((Margin + ScreenWidth / 2) * zoom_ - viewport()->width() / 2);
    verticalScrollBar()->setValue((Margin + ScreenHeight / 2) * zoom_ - viewport()->height() / 2);
}

void CanvasView::SetGridShown(bool shown)
{
    gridShown_ = shown;
    viewport()->update();
}

QPoint CanvasView::SkinPointAt(QPointF viewportPosition) const
{
    const QPoint origin = DeviceOrigin();
    const int scale = Scale();
    const auto at = [&](qreal position, int start) {
        return FloorDiv(static_cast<int>(std::floor(position * Ratio())) - start, scale) - Margin;
    };
    return QPoint(at(viewportPosition.x(), origin.x()), at(viewportPosition.y(), origin.y()));
}

QPointF CanvasView::ViewportPointOf(QPoint skinPoint) const
{
    const QPoint origin = DeviceOrigin();
    const int scale = Scale();
    return QPointF((origin.x() + (skinPoint.x() + Margin) * scale) / Ratio(),
                   (origin.y() + (skinPoint.y() + Margin) * scale) / Ratio());
}

std::vector<DrawnElement> CanvasView::ElementsAt(QPoint skinPoint) const
{
    std::vector<DrawnElement> under;
    const auto& drawn = session_.DrawnElements();
    for (auto element = drawn.rbegin(); element != drawn.rend(); ++element)
        if (element->bounds.contains(skinPoint))
            under.push_back(*element);
    return under;
}

// ---- Painting --------------------------------------------------------------------

void CanvasView::paintEvent(QPaintEvent*)
{
    // Drawn at device pixels: each skin pixel is scale x scale of them, repeated by
    // hand so that no filtering can blur an edge.
    const qreal ratio = Ratio();
    const QSize size(static_cast<int>(std::ceil(viewport()->width() * ratio)),
                     static_cast<int>(std::ceil(viewport()->height() * ratio)));
    if (size.isEmpty())
        return;
    // Kept between paints: a drag repaints at every step.
    if (frame_.size() != size)
        frame_ = QImage(size, QImage::Format_RGB32);
    frame_.setDevicePixelRatio(1);
    QImage& frame = frame_;
    const QPoint origin = DeviceOrigin();
    const int scale = Scale();
    // The session's surface itself (RGB32, as every drawing leaves it), never copied.
    const QImage& surface = session_.Surface();
    const bool drawn = !surface.isNull() && surface.format() == QImage::Format_RGB32;
    const QRgb key = drawn ? KeyColour(surface) : 0;
    const int left = origin.x() + Margin * scale;
    const int top = origin.y() + Margin * scale;

    // The frame's columns in runs of one skin pixel each (or of margin).
    struct Run {
        int start;
        int length;
        int column; // -1: the margin
    };
    std::vector<Run> runs;
    for (int x = 0; x < size.width();) {
        const int column = FloorDiv(x - left, scale);
        const int end = std::min(size.width(), left + (column + 1) * scale);
        const bool screen = drawn && column >= 0 && column < ScreenWidth;
        if (!screen && !runs.empty() && runs.back().column < 0)
            runs.back().length += end - x;
        else
            runs.push_back(Run{x, end - x, screen ? column : -1});
        x = end;
    }
    // Each row of skin pixels is made once, then copied down scale - 1 times: the
    // same pixels as the main preview, key colour as the white beneath it.
    int lastRow = std::numeric_limits<int>::min();
    const auto bytes = static_cast<std::size_t>(size.width()) * sizeof(QRgb);
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(frame.scanLine(y));
        int row = FloorDiv(y - top, scale);
        if (!drawn || row < 0 || row >= ScreenHeight)
            row = -1;
        if (row == lastRow && y > 0) {
            std::memcpy(line, frame.constScanLine(y - 1), bytes);
            continue;
        }
        lastRow = row;
        if (row < 0) {
            std::fill(line, line + size.width(), MarginColour);
            continue;
        }
        const auto* source = reinterpret_cast<const QRgb*>(surface.constScanLine(row));
        for (const Run& run : runs)
            std::fill_n(line + run.start, run.length,
                        run.column < 0 ? MarginColour : KeyedPixel(source[run.column], key, qRgb(255, 255, 255)));
    }
    PaintOverlays(frame, QPoint(left, top), scale);

    frame.setDevicePixelRatio(ratio);
    QPainter painter(viewport());
    painter.drawImage(QPointF(0, 0), frame);
}

void CanvasView::PaintOverlays(QImage& frame, QPoint screen, int scale) const
{
    QPainter painter(&frame);
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (gridShown_ && zoom_ >= GridFromZoom) {
        painter.setPen(QPen(GridColour, 0));
        // Only the lines within the frame, each clipped to it.
        const int left = std::max(screen.x(), 0);
        const int top = std::max(screen.y(), 0);
        const int right = std::min(screen.x() + ScreenWidth * scale, frame.width());
        const int bottom = std::min(screen.y() + ScreenHeight * scale, frame.height());
        for (int x = std::max(1, FloorDiv(left - screen.x(), scale)); screen.x() + x * scale < right; ++x)
            painter.drawLine(screen.x() + x * scale, top, screen.x() + x * scale, bottom - 1);
        for (int y = std::max(1, FloorDiv(top - screen.y(), scale)); screen.y() + y * scale < bottom; ++y)
            painter.drawLine(left, screen.y() + y * scale, right - 1, screen.y() + y * scale);
    }

    const auto& selection = session_.Selection();
    if (!selection)
        return;
    // Alternating black and white dashes just outside the element's box: visible on
    // any background.
    const int width = std::max(1, qRound(Ratio()));
    QPen black(Qt::black, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    QPen white(Qt::white, width, Qt::CustomDashLine, Qt::FlatCap, Qt::MiterJoin);
    white.setDashPattern({4, 4});
    for (const DrawnElement& element : session_.DrawnElements()) {
        if (!Is(element, *selection))
            continue;
        const QRect& b = element.bounds;
        const QRect box(screen.x() + b.left() * scale - width, screen.y() + b.top() * scale - width,
                        b.width() * scale + width, b.height() * scale + width);
        for (const QPen& pen : {black, white}) {
            painter.setPen(pen);
            painter.drawRect(box.adjusted(width / 2, width / 2, width / 2, width / 2));
        }
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
    CentreScreen();
}

void CanvasView::scrollContentsBy(int, int)
{
    viewport()->update();
}

// ---- Selection -------------------------------------------------------------------

void CanvasView::Select(const DrawnElement& element)
{
    mirroredSelected_ = element.mirrored;
    selecting_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{selecting_};
    session_.Select(RefOf(element));
    viewport()->update();
}

void CanvasView::StepSelection(int step)
{
    // Each element once, in draw order.
    std::vector<DrawnElement> order;
    for (const DrawnElement& element : session_.DrawnElements())
        if (std::none_of(order.begin(), order.end(), [&](const DrawnElement& o) { return Is(o, RefOf(element)); }))
            order.push_back(element);
    if (order.empty())
        return;
    const int count = static_cast<int>(order.size());
    int index = step > 0 ? 0 : count - 1;
    if (const auto& selection = session_.Selection()) {
        const auto found = std::find_if(order.begin(), order.end(), [&](const DrawnElement& o) { return Is(o, *selection); });
        if (found != order.end())
            index = (static_cast<int>(found - order.begin()) + step + count) % count;
    }
    Select(order[static_cast<std::size_t>(index)]);
}

// ---- Moving ----------------------------------------------------------------------

void CanvasView::Move(const ElementRef& element, bool mirrored, QPoint by, const ItemValues& from, bool live)
{
    // The right soft label is SoftLabel mirrored: moving it right lowers X.
    const int dx = mirrored ? -by.x() : by.x();
    ItemValues values = from;
    values.X = Shifted(values.X, dx);
    values.Y = Shifted(values.Y, by.y());
    if (element.category == SkinCategory::Objects && element.key == ObjectKeys[EdgeSizedObject]) {
        // Its W and H are its right and bottom edges: they move with it.
        values.W = Shifted(values.W, dx);
        values.H = Shifted(values.H, by.y());
    }
    if (live)
        session_.StoreElementLive(element, values);
    else
        session_.StoreElement(element, values, NudgeControl);
}

void CanvasView::MoveDrag(QPointF position, bool straight)
{
    Drag& drag = *drag_;
    if (!drag.moving) {
        if ((position - drag.pressedAt).manhattanLength() < QApplication::startDragDistance())
            return;
        drag.moving = true;
    }
    QPoint by = SkinPointAt(position) - SkinPointAt(drag.pressedAt);
    if (straight) {
        if (std::abs(by.x()) >= std::abs(by.y()))
            by.setY(0);
        else
            by.setX(0);
    }
    if (by == drag.stored)
        return;
    const bool ok = errors_.Run([&] { Move(drag.element, drag.mirrored, by, drag.start, true); });
    drag.stored = by;
    if (!ok) {
        drag_.reset(); // one error box, not one per mouse move
        errors_.Run([&] { session_.CancelLive(); });
    }
}

void CanvasView::CancelDrag()
{
    if (!drag_)
        return;
    const Drag drag = *drag_;
    drag_.reset();
    if (!drag.moving)
        return;
    // Every line back as it was, and the history as it was.
    errors_.Run([&] { session_.CancelLive(); });
}

void CanvasView::Nudge(QPoint by)
{
    const auto selection = session_.Selection();
    if (!selection || selection->category == SkinCategory::Settings || drag_)
        return;
    if (nudged_ != selection || !lastNudge_.isValid() || lastNudge_.elapsed() >= NudgeMergeMs)
        session_.Commit(); // a pause ends a burst of nudges
    nudged_ = selection;
    lastNudge_.start();
    errors_.Run([&] { Move(*selection, mirroredSelected_, by, ShownValues(session_.Document(), *selection), false); });
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
            errors_.Run([&] { StepSelection(back ? -1 : 1); });
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void CanvasView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mousePressEvent(event);
    CancelDrag();
    const QPointF position = event->position();
    errors_.Run([&] {
        const std::vector<DrawnElement> under = ElementsAt(SkinPointAt(position));
        if (under.empty())
            return; // a click on nothing keeps the selection
        std::size_t pick = 0;
        if (event->modifiers() & Qt::AltModifier) {
            // The one below the selected one, round again after the lowest.
            const auto& selection = session_.Selection();
            for (std::size_t i = 0; i < under.size(); ++i)
                if (selection && Is(under[i], *selection) && under[i].mirrored == mirroredSelected_)
                    pick = (i + 1) % under.size();
        }
        const DrawnElement& picked = under[pick];
        Select(picked);
        Drag drag;
        drag.element = RefOf(picked);
        drag.mirrored = picked.mirrored;
        drag.pressedAt = position;
        // Nothing to drag without a line of its own.
        if (session_.Document().Lines.FindKey(picked.key) < 0)
            return;
        drag.start = ShownValues(session_.Document(), drag.element);
        drag_ = std::move(drag);
    });
    event->accept();
}

void CanvasView::mouseMoveEvent(QMouseEvent* event)
{
    ShowStatus(event->position());
    if (drag_ && (event->buttons() & Qt::LeftButton))
        MoveDrag(event->position(), event->modifiers() & Qt::ShiftModifier);
    event->accept();
}

void CanvasView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mouseReleaseEvent(event);
    const bool moved = drag_ && drag_->moving;
    const std::optional<Drag> drag = std::exchange(drag_, std::nullopt);
    if (moved)
        errors_.Run([&] {
            const std::string& key = drag->element.key;
            session_.CommitLive(QStringLiteral("Move ") + QString::fromLatin1(key.data(), static_cast<qsizetype>(key.size())).trimmed());
        });
    event->accept();
}

void CanvasView::wheelEvent(QWheelEvent* event)
{
    if (!(event->modifiers() & Qt::ControlModifier))
        return QAbstractScrollArea::wheelEvent(event);
    const int steps = event->angleDelta().y();
    if (steps != 0) {
        const std::vector<int> levels = ZoomLevels();
        auto at = std::find(levels.begin(), levels.end(), zoom_);
        if (at != levels.end()) {
            if (steps > 0 && std::next(at) != levels.end())
                SetZoom(*std::next(at), event->position());
            else if (steps < 0 && at != levels.begin())
                SetZoom(*std::prev(at), event->position());
        }
    }
    event->accept();
}

void CanvasView::keyPressEvent(QKeyEvent* event)
{
    const int step = (event->modifiers() & Qt::ShiftModifier) ? 10 : 1;
    switch (event->key()) {
    case Qt::Key_Escape:
        CancelDrag();
        break;
    case Qt::Key_Left: Nudge(QPoint(-step, 0)); break;
    case Qt::Key_Right: Nudge(QPoint(step, 0)); break;
    case Qt::Key_Up: Nudge(QPoint(0, -step)); break;
    case Qt::Key_Down: Nudge(QPoint(0, step)); break;
    default:
        return QAbstractScrollArea::keyPressEvent(event);
    }
    event->accept();
}

void CanvasView::leaveEvent(QEvent* event)
{
    QAbstractScrollArea::leaveEvent(event);
    emit StatusChanged(QString());
}

void CanvasView::ShowStatus(QPointF position)
{
    const QPoint at = SkinPointAt(position);
    QString text = QStringLiteral("%1, %2").arg(at.x()).arg(at.y());
    const std::vector<DrawnElement> under = ElementsAt(at);
    if (!under.empty())
        text += QStringLiteral("   ") + StatusName(under.front());
    emit StatusChanged(text);
}
