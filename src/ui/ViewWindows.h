#pragma once
// The windows of the View menu beside the main one. Each is made on first use,
// owned by the main window, and brought to the front when asked for again.
#include <QObject>
#include <QString>

class CanvasWindow;
class ColorsWindow;
class DialogService;
class EditingSession;
class ErrorReporter;
class HistoryWindow;
class QAction;
class QWidget;
class SampleTextChoice;
class SampleTextsWindow;
class TAllStatesWindow;
class TCompareWindow;

class ViewWindows : public QObject {
public:
    // window owns the windows made; sampleTexts is what the Sample texts window edits.
    ViewWindows(EditingSession& session, DialogService& dialogs, const ErrorReporter& errors,
                SampleTextChoice& sampleTexts, QWidget* window);

    // The canvas window; null until it is first opened.
    CanvasWindow* Canvas() const { return canvas_; }
    // Opens the canvas, or closes it when it is open; canvasAction follows whether it is.
    void ToggleCanvas(QAction* canvasAction);
    void ShowAllStates();
    void ShowHistory();
    void ShowSampleTexts();
    void ShowColors();
    // The compare window, on the changes since the skin was saved.
    void CompareWithSaved();
    // The compare window, on the skin in folder; a folder that is no skin leaves the
    // window as it was.
    void CompareWith(const QString& folder);

private:
    EditingSession& session_;
    DialogService& dialogs_;
    const ErrorReporter& errors_;
    SampleTextChoice& sampleTexts_;
    QWidget* window_;
    CanvasWindow* canvas_ = nullptr;
    TAllStatesWindow* allStates_ = nullptr;
    HistoryWindow* history_ = nullptr;
    SampleTextsWindow* sampleTextsWindow_ = nullptr;
    ColorsWindow* colors_ = nullptr;
    TCompareWindow* compare_ = nullptr;
};
