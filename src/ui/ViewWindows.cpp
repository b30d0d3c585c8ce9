#include "ViewWindows.h"

#include "AllStatesWindow.h"
#include "CanvasWindow.h"
#include "ColorsWindow.h"
#include "CompareWindow.h"
#include "HistoryWindow.h"
#include "SampleTextsWindow.h"

#include <QAction>

namespace {

// Shows a window made on first use, in front of the others.
template <typename Window, typename Make>
void ShowMadeOnce(Window*& window, Make make)
{
    if (window == nullptr)
        window = make();
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

ViewWindows::ViewWindows(EditingSession& session, DialogService& dialogs, const ErrorReporter& errors,
                         SampleTextChoice& sampleTexts, QWidget* window)
    : QObject(window), session_(session), dialogs_(dialogs), errors_(errors), sampleTexts_(sampleTexts), window_(window)
{
}

void ViewWindows::ToggleCanvas(QAction* canvasAction)
{
    if (canvas_ != nullptr && canvas_->isVisible()) {
        canvas_->close();
        return;
    }
    ShowMadeOnce(canvas_, [&] {
        auto* canvas = new CanvasWindow(session_, errors_, window_);
        connect(canvas, &CanvasWindow::OpenChanged, canvasAction, &QAction::setChecked);
        return canvas;
    });
}

void ViewWindows::ShowAllStates()
{
    ShowMadeOnce(allStates_, [this] { return new TAllStatesWindow(session_, errors_, window_); });
}

void ViewWindows::ShowHistory()
{
    ShowMadeOnce(history_, [this] { return new HistoryWindow(session_, errors_, window_); });
}

void ViewWindows::ShowSampleTexts()
{
    ShowMadeOnce(sampleTextsWindow_, [this] { return new SampleTextsWindow(sampleTexts_, errors_, window_); });
}

void ViewWindows::ShowColors()
{
    ShowMadeOnce(colors_, [this] { return new ColorsWindow(session_, dialogs_, errors_, window_); });
}

void ViewWindows::CompareWithSaved()
{
    ShowMadeOnce(compare_, [this] { return new TCompareWindow(session_, errors_, window_); });
    compare_->CompareWithSaved();
}

void ViewWindows::CompareWith(const QString& folder)
{
    const auto make = [this] { return new TCompareWindow(session_, errors_, window_); };
    if (compare_ == nullptr)
        compare_ = make();
    compare_->CompareWith(folder); // a folder that is no skin leaves the window as it was
    ShowMadeOnce(compare_, make);
}
