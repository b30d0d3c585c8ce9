// The compare window after a keystroke: the edited side's ten looks drawn again, the
// other side's kept, both compared pixel for pixel and the rows named again; against
// one drawing of the same skin in the same run.
#include "BenchSession.h"
#include "ElementValues.h"

#include "CompareWindow.h"
#include "ErrorReporter.h"
#include "QtDialogService.h"

#include <benchmark/benchmark.h>

namespace {

// BM_DrawPreview of bench_preview, in this program's run.
void BM_CompareDrawing(benchmark::State& state)
{
    const SkinDocument document = LoadExampleDocument();
    PreviewSettings settings;
    settings.volumeShown = true;
    QImage surface = NewPreviewSurface();
    PreviewCache cache;
    DrawPreview(surface, document, settings, nullptr, &cache);
    for (auto _ : state) {
        DrawPreview(surface, document, settings, nullptr, &cache);
        benchmark::DoNotOptimize(surface.constBits());
    }
}
BENCHMARK(BM_CompareDrawing)->Unit(benchmark::kMicrosecond);

// Changes since saved open while the x of "Artist" is typed: the keystroke itself
// (the session's write-back and drawing) is left out of the time.
void BM_CompareRefresh(benchmark::State& state)
{
    ExampleSession example;
    EditingSession& session = *example.session;
    PreviewSettings settings = session.Settings();
    settings.volumeShown = true;
    session.SetSettings(settings);
    QtDialogService dialogs{nullptr};
    ErrorReporter errors{dialogs};
    TCompareWindow window(session, errors, nullptr);
    window.CompareWithSaved();
    window.Refresh();
    const ElementRef artist{SkinCategory::Strings, "Artist"};
    const ItemValues start = ReadElementValues(session.Document().Lines, artist.category, artist.key);
    ItemValues values = start;
    int typed = 0;
    for (auto _ : state) {
        state.PauseTiming();
        values.X = start.X + 1 + (typed++ % 9); // always a difference to name and mark
        session.StoreElement(artist, values, 1);
        state.ResumeTiming();
        window.Refresh();
        benchmark::DoNotOptimize(window.Comparison().rows.data());
    }
    if (window.Comparison().Same())
        state.SkipWithError("the keystroke left nothing to compare");
}
BENCHMARK(BM_CompareRefresh)->Unit(benchmark::kMicrosecond);

} // namespace
