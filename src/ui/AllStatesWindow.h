#pragma once
// View › All states: the ten looks of the open skin (five play states, two
// repetition modes) laid out and labelled as vellumark-skin sheet draws them, by
// the same code, with the main window's volume settings. It follows every change
// of the session while it is shown, and has a zoom of its own (whole numbers,
// each pixel as a block).
#include "PreviewCache.h"

#include <QImage>
#include <QWidget>

class EditingSession;
class ErrorReporter;
class PictureView;
class QComboBox;
class QScrollArea;
class QTimer;

class TAllStatesWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr int MaxZoom = 4;

    // A window of its own that parent owns and closes with it.
    TAllStatesWindow(EditingSession& session, const ErrorReporter& errors, QWidget* parent);

    // The sheet at 1x as last drawn; null before a skin is loaded.
    const QImage& Sheet() const { return sheet_; }
    int Zoom() const;
    void SetZoom(int zoom);

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Draws again soon while shown (a burst of changes draws once), or when next shown.
    void Schedule();
    void Redraw();
    void ShowZoomed();

    EditingSession& session_;
    const ErrorReporter& errors_;
    QImage sheet_;
    PreviewCache cache_; // the ten previews' texts, kept between redraws
    bool stale_ = true;
    QTimer* redraw_ = nullptr;
    QComboBox* zoomBox_ = nullptr;
    QScrollArea* sheetScroll_ = nullptr;
    PictureView* sheetView_ = nullptr;
};
