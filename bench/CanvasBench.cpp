// One step of a drag on the canvas, at 8x: the session composes and stores the
// element's line, parses, draws the preview (listing where each element went), and
// the canvas turns the new surface into its picture and paints its viewport. The
// same with five elements selected and snapping on: the tool snaps the move, writes
// five lines at once, and the canvas paints five outlines and the guides.
#include "BenchSession.h"
#include "ElementValues.h"

#include "CanvasView.h"
#include "ErrorReporter.h"
#include "QtDialogService.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

namespace {

// The example skin open on a canvas at 8x in the canvas window's usual viewport,
// shown, so that a step is painted as in the editor: what the view asked to show
// again, into the window's backing store.
struct Canvas : ExampleSession {
    QtDialogService dialogs{nullptr};
    ErrorReporter errors{dialogs};
    CanvasView view{*session, errors};

    Canvas()
    {
        view.resize(640, 560);
        view.SetZoom(8);
        view.show();
        QCoreApplication::processEvents();
    }

    void Paint() { QCoreApplication::processEvents(); }
};

void BM_CanvasDragStep(benchmark::State& state)
{
    Canvas canvas;
    EditingSession& session = *canvas.session;
    const ElementRef artist{SkinCategory::Strings, "Artist"};
    const ItemValues start = ReadElementValues(session.Document().Lines, artist.category, artist.key);
    ItemValues values = start;
    int step = 0;
    for (auto _ : state) {
        values.X = start.X + (++step % 20); // the mouse moved on by a skin pixel
        session.StoreElementLive(artist, values);
        canvas.Paint();
    }
}
BENCHMARK(BM_CanvasDragStep)->Unit(benchmark::kMicrosecond);

void BM_CanvasDragStepSnapped(benchmark::State& state)
{
    Canvas canvas;
    EditingSession& session = *canvas.session;
    std::vector<ElementRef> five;
    for (const char* key : {"Artist", "Title", "Album", "TimeCurrent", "TimeElapsed"})
        five.push_back({SkinCategory::Strings, key});
    session.SelectMany(five, five.front());
    CanvasMoveTool& tool = canvas.view.Tool();
    tool.SetSnapping(true);
    tool.Press(canvas.view.SelectedTargets(), QPointF(0, 0), QPoint(0, 0));
    int step = 0;
    for (auto _ : state) {
        // Back and forth by more than twice the snap's reach, so that no step snaps to
        // where the last one did: every step writes the five lines.
        const QPoint by = (++step % 2 != 0) ? QPoint(5, 3) : QPoint(45, 23);
        tool.Move(QPointF(100, 0), by, false);
        canvas.Paint();
    }
    tool.Cancel();
}
BENCHMARK(BM_CanvasDragStepSnapped)->Unit(benchmark::kMicrosecond);

// The most a paint of the canvas costs: its whole 640x560 viewport at 8x shown again
// from its picture, after a drawing that changed nothing.
void BM_CanvasPaint(benchmark::State& state)
{
    Canvas canvas;
    for (auto _ : state) {
        emit canvas.session->PreviewDrawn();
        canvas.view.viewport()->repaint();
    }
}
BENCHMARK(BM_CanvasPaint)->Unit(benchmark::kMicrosecond);

} // namespace
