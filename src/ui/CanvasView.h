#pragma once
// The canvas: the session's one preview surface, colour-keyed as the main preview,
// enlarged by a whole number with sharp pixels, with a margin around the screen.
// Elements are selected by clicking, dragged and nudged; every move is written
// through the session like a change in the property editor, one undo step per drag
// or per burst of nudges. The selection outline and the pixel grid are drawn here
// only, never on the surface.
#include "EditingSession.h"

#include <QAbstractScrollArea>
#include <QElapsedTimer>
#include <QImage>

#include <optional>
#include <vector>

class ErrorReporter;

class CanvasView : public QAbstractScrollArea {
    Q_OBJECT

public:
    static constexpr int Margin = 48;  // skin pixels around the screen on every side
    static constexpr int MaxZoom = 8;
    static constexpr int GridFromZoom = 3; // below, the lines would hide the pixels
    static constexpr int NudgeMergeMs = 1000; // nudges closer than this are one step
    // Undo-merge controls of the canvas, apart from the property editor's.
    enum Control { NudgeControl = 101 }; // the merge key of nudges, beside the editor's fields

    CanvasView(EditingSession& session, const ErrorReporter& errors, QWidget* parent = nullptr);

    int Zoom() const { return zoom_; }
    // The zooms this screen shows sharply: 1 to 8 where zoom x device pixel ratio is whole.
    std::vector<int> ZoomLevels() const;
    // The offered zoom nearest to zoom; keeps the skin point under anchor (a viewport
    // position; the viewport's centre when none) where it was.
    void SetZoom(int zoom, std::optional<QPointF> anchor = std::nullopt);
    void ZoomIn();
    void ZoomOut();
    // The largest offered zoom at which the whole screen fits, centred.
    void ZoomToFit();
    // Scrolls the screen's centre to the viewport's centre.
    void CentreScreen();

    bool GridShown() const { return gridShown_; }
    void SetGridShown(bool shown);

    // The skin pixel under a viewport position, and the viewport position of a skin
    // pixel's top-left corner.
    QPoint SkinPointAt(QPointF viewportPosition) const;
    QPointF ViewportPointOf(QPoint skinPoint) const;

    // The drawn elements under a skin pixel, topmost first.
    std::vector<DrawnElement> ElementsAt(QPoint skinPoint) const;

signals:
    void ZoomChanged(int zoom);
    // The cursor's skin position and the element under it, for the status bar.
    void StatusChanged(const QString& text);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    struct Drag {
        ElementRef element;
        bool mirrored = false;
        QPointF pressedAt;
        ItemValues start;
        bool moving = false;
        QPoint stored{0, 0}; // the move last written
    };

    qreal Ratio() const;
    int Scale() const { return static_cast<int>(zoom_ * Ratio() + 0.5); } // device pixels per skin pixel
    QSize ContentSize() const;       // logical pixels, margin included
    QPoint DeviceOrigin() const;     // device position of the content's top-left corner
    void UpdateScrollRange();
    void Select(const DrawnElement& element);
    void StepSelection(int step);
    // A drag's move is live until the mouse is released; a nudge is a step at once.
    void Move(const ElementRef& element, bool mirrored, QPoint by, const ItemValues& from, bool live);
    void MoveDrag(QPointF position, bool straight);
    void CancelDrag();
    void Nudge(QPoint by);
    void ShowStatus(QPointF position);
    void PaintOverlays(QImage& frame, QPoint origin, int scale) const;

    EditingSession& session_;
    const ErrorReporter& errors_;
    QImage frame_;  // the viewport's picture at device pixels
    int zoom_ = 3;
    bool gridShown_ = false;
    bool mirroredSelected_ = false; // the right soft label was picked, not SoftLabel's own text
    bool selecting_ = false;
    bool centred_ = false; // the screen was centred when first shown
    QMetaObject::Connection screenWatch_;
    std::optional<Drag> drag_;
    std::optional<ElementRef> nudged_;
    QElapsedTimer lastNudge_;
};
