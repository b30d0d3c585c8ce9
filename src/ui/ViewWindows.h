#pragma once
// The windows of the View menu beside the main one. Each is made on first use,
// owned by the main window, and brought to the front when asked for again.
#include <QObject>

class CanvasWindow;
class EditingSession;
class ErrorReporter;
class HistoryWindow;
class QAction;
class QWidget;
class SampleTextChoice;
class SampleTextsWindow;
class TAllStatesWindow;

class ViewWindows : public QObject {
public:
    // window owns the windows made; sampleTexts is what the Sample texts window edits.
    ViewWindows(EditingSession& session, const ErrorReporter& errors, SampleTextChoice& sampleTexts, QWidget* window);

    // The canvas window; null until it is first opened.
    CanvasWindow* Canvas() const { return canvas_; }
    // Opens the canvas, or closes it when it is open; canvasAction follows whether it is.
    void ToggleCanvas(QAction* canvasAction);
    void ShowAllStates();
    void ShowHistory();
    void ShowSampleTexts();

private:
    EditingSession& session_;
    const ErrorReporter& errors_;
    SampleTextChoice& sampleTexts_;
    QWidget* window_;
    CanvasWindow* canvas_ = nullptr;
    TAllStatesWindow* allStates_ = nullptr;
    HistoryWindow* history_ = nullptr;
    SampleTextsWindow* sampleTextsWindow_ = nullptr;
};
