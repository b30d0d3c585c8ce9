// The preview's costs on the example skin: one full redraw (with and without what the
// drawing before kept), what one keystroke
// in a number field of the property editor costs, and the all-states sheet that the
// editor's all-states window draws again after each change while it is shown.
#include "BenchSkin.h"
#include "ElementValues.h"

#include "PreviewCache.h"
#include "PreviewRenderer.h"
#include "StatesSheet.h"

#include <benchmark/benchmark.h>

namespace {

PreviewSettings VolumeShown()
{
    PreviewSettings settings;
    settings.volumeShown = true;
    return settings;
}

// One redraw as the editor's session makes it, with the texts shaped by the drawing
// before; and the same with the cache cleared before each drawing, as it would cost
// if nothing were kept (Qt's own font caches stay warm in both).
void DrawPreviews(benchmark::State& state, bool cleared)
{
    const SkinDocument document = LoadExampleDocument();
    const PreviewSettings settings = VolumeShown();
    QImage surface = NewPreviewSurface();
    PreviewCache cache;
    // The editor has drawn the skin once when it was opened: fonts are loaded.
    DrawPreview(surface, document, settings, nullptr, &cache);
    for (auto _ : state) {
        if (cleared)
            cache.Clear();
        DrawPreview(surface, document, settings, nullptr, &cache);
        benchmark::DoNotOptimize(surface.constBits());
    }
}

void BM_DrawPreview(benchmark::State& state)
{
    DrawPreviews(state, false);
}
BENCHMARK(BM_DrawPreview)->Unit(benchmark::kMicrosecond);

void BM_DrawPreviewUncached(benchmark::State& state)
{
    DrawPreviews(state, true);
}
BENCHMARK(BM_DrawPreviewUncached)->Unit(benchmark::kMicrosecond);

// One keystroke in the x field of "Artist": the key-down, text-change and key-up
// notifications each write the element back (compose and replace its line, parse
// all lines) and redraw the preview.
void BM_KeystrokeRoundTrip(benchmark::State& state)
{
    SkinDocument document = LoadExampleDocument();
    const PreviewSettings settings = VolumeShown();
    QImage surface = NewPreviewSurface();
    PreviewCache cache;
    DrawPreview(surface, document, settings, nullptr, &cache);
    const ItemValues artist = ReadElementValues(document.Lines, SkinCategory::Strings, "Artist");
    ItemValues values = artist;
    int typed = 0;
    for (auto _ : state) {
        values.X = artist.X + (typed++ % 10); // each keystroke changes the digit
        for (int notification = 0; notification < 3; ++notification) {
            document.StoreItem(SkinCategory::Strings, "Artist", values);
            DrawPreview(surface, document, settings, nullptr, &cache);
        }
        benchmark::DoNotOptimize(surface.constBits());
    }
}
BENCHMARK(BM_KeystrokeRoundTrip)->Unit(benchmark::kMicrosecond);

// The ten previews: one redraw of View › All states, which keeps its sheet (frames and
// labels) and its cache between redraws.
void BM_DrawStatesSheet(benchmark::State& state)
{
    const SkinDocument document = LoadExampleDocument();
    const PreviewSettings settings = VolumeShown();
    QImage sheet;
    PreviewCache cache;
    DrawStatesSheet(sheet, document, document.LangLines, settings, cache); // as when the window was first shown
    for (auto _ : state) {
        DrawStatesSheet(sheet, document, document.LangLines, settings, cache);
        benchmark::DoNotOptimize(sheet.constBits());
    }
}
BENCHMARK(BM_DrawStatesSheet)->Unit(benchmark::kMicrosecond);

} // namespace
