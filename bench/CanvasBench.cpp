// One step of a drag on the canvas, at 8x: the session composes and stores the
// element's line, parses, draws the preview (listing where each element went), and
// the canvas turns the new surface into its picture and paints its viewport.
#include "BenchSession.h"

#include "CanvasView.h"
#include "ErrorReporter.h"
#include "QtDialogService.h"

#include <QImage>

#include <benchmark/benchmark.h>

namespace {

// The example skin open on a canvas at 8x in the canvas window's usual viewport.
struct Canvas : ExampleSession {
    QtDialogService dialogs{nullptr};
    ErrorReporter errors{dialogs};
    CanvasView view{*session, errors};
    QImage screen;

    Canvas()
    {
        view.resize(640, 560);
        view.SetZoom(8);
        screen = QImage(view.viewport()->size(), QImage::Format_RGB32);
    }

    void Paint()
    {
        view.viewport()->render(&screen);
        benchmark::DoNotOptimize(screen.constBits());
    }
};

void BM_CanvasDragStep(benchmark::State& state)
{
    Canvas canvas;
    EditingSession& session = *canvas.session;
    const ElementRef artist{SkinCategory::Strings, "Artist"};
    const TSkiStr start = session.Document().ReadSkiStr(artist.key);
    ItemValues values;
    values.Y = start.Y;
    values.Anchor = start.Anchor;
    values.FontId = start.FontId;
    values.StyleCode = start.StyleCode;
    values.Color = start.Color;
    int step = 0;
    for (auto _ : state) {
        values.X = start.X + (++step % 20); // the mouse moved on by a skin pixel
        session.StoreElementLive(artist, values);
        canvas.Paint();
    }
}
BENCHMARK(BM_CanvasDragStep)->Unit(benchmark::kMicrosecond);

// The canvas's share of a step: keying the new surface and painting the viewport at 8x.
void BM_CanvasPaint(benchmark::State& state)
{
    Canvas canvas;
    for (auto _ : state) {
        emit canvas.session->PreviewDrawn();
        canvas.Paint();
    }
}
BENCHMARK(BM_CanvasPaint)->Unit(benchmark::kMicrosecond);

} // namespace
