#pragma once
// The canvas: the session's one preview surface, colour-keyed as the main preview,
// enlarged by a whole number with sharp pixels, with a margin around the screen.
// Elements are selected by clicking; the move tool drags and nudges them. The view
// joins the geometry, the frame painting and the tool to the widget's events.
#include "CanvasGeometry.h"
#include "CanvasMoveTool.h"
#include "EditingSession.h"

#include <QAbstractScrollArea>
#include <QImage>

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
    void CentreScreen();

    bool GridShown() const { return gridShown_; }
    void SetGridShown(bool shown);

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
    qreal Ratio() const;
    void UpdateScrollRange();
    void ScrollTo(QPoint scroll);
    void Select(const DrawnElement& element);
    void Press(QPointF position, bool cycle);
    void ShowStatus(QPointF position);

    EditingSession& session_;
    const ErrorReporter& errors_;
    CanvasMoveTool tool_;
    QImage frame_;  // the viewport's picture at device pixels, kept between paints
    int zoom_ = 3;
    bool gridShown_ = false;
    bool mirroredSelected_ = false; // the right soft label was picked, not SoftLabel's own text
    bool selecting_ = false;
    bool centred_ = false; // the screen was centred when first shown
    QMetaObject::Connection screenWatch_;
};
