#pragma once
// The canvas: the session's one preview surface, colour-keyed as the main preview,
// enlarged by a whole number with sharp pixels, with a margin around the screen.
// Elements are selected by clicking (Shift+click adds or takes out, a drag on empty
// canvas draws a selection rectangle); the move tool drags and nudges them all. The
// view joins the geometry, the frame painting and the tool to the widget's events.
#include "CanvasFrame.h"
#include "CanvasGeometry.h"
#include "CanvasMoveTool.h"
#include "EditingSession.h"

#include <QAbstractScrollArea>
#include <QImage>

#include <cstdint>
#include <optional>
#include <vector>

class ErrorReporter;

class CanvasView : public QAbstractScrollArea {
    Q_OBJECT

public:
    CanvasView(EditingSession& session, const ErrorReporter& errors, QWidget* parent = nullptr);

    int Zoom() const { return zoom_; }
    // The zooms this screen shows sharply: 1 to 8 where zoom x device pixel ratio is whole.
    std::vector<int> ZoomLevels() const { return CanvasGeometry::ZoomLevels(Ratio()); }
    // The offered zoom nearest to zoom; keeps the skin point under anchor (a viewport
    // position; the viewport's centre when none) where it was.
    void SetZoom(int zoom, std::optional<QPointF> anchor = std::nullopt);
    void ZoomIn();
    void ZoomOut();
    // The largest offered zoom at which the whole screen fits, centred.
    void ZoomToFit();
    // Scrolls the screen's centre to the viewport's centre.
    void CenterScreen();

    bool GridShown() const { return gridShown_; }
    void SetGridShown(bool shown);

    // The tool that drags and nudges the selection (View › Snap sets its snapping).
    CanvasMoveTool& Tool() { return tool_; }
    // The selected elements as the tool moves them, the primary one first.
    std::vector<MoveTarget> SelectedTargets() const;
    // Every element drawn, the primary one kept when there is one.
    void SelectAll() { SelectInBand(std::nullopt, false); }

    // Where the skin lies in the viewport now.
    CanvasGeometry Geometry() const;
    QPoint SkinPointAt(QPointF viewportPosition) const { return Geometry().SkinPointAt(viewportPosition); }
    QPointF ViewportPointOf(QPoint skinPoint) const { return Geometry().ViewportPointOf(skinPoint); }

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
    // Paints the picture anew and shows again what changed in it.
    void Refresh();
    const QImage& PaintPicture();
    qreal Ratio() const;
    void UpdateScrollRange();
    void ScrollTo(QPoint scroll);
    // Selects elements with primary shown (the right soft label when mirrored).
    void Select(std::vector<ElementRef> elements, const std::optional<ElementRef>& primary, bool mirrored);
    // The elements inside band (none: every one drawn), added to the selection or not.
    void SelectInBand(std::optional<QRect> band, bool adding);

    EditingSession& session_;
    const ErrorReporter& errors_;
    CanvasMoveTool tool_;
    CanvasPicture picture_; // the viewport's picture at device pixels, kept between paints
    std::optional<std::uint64_t> shownDrawing_; // the session's drawing it shows (none: another image)
    bool stale_ = true;     // something changed while hidden
    int zoom_ = 3;
    bool gridShown_ = false;
    std::optional<QPoint> bandFrom_; // a selection rectangle is being drawn from this skin pixel
    QRect band_;
    bool centred_ = false; // the screen was centred when first shown
    QMetaObject::Connection screenWatch_;
};
