// The preview's costs on the example skin: one full redraw, what one keystroke
// in a number field of the property editor costs, and the all-states sheet that the
// editor's all-states window draws again after each change while it is shown.
#include "BenchSkin.h"
#include "ElementValues.h"

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

void BM_DrawPreview(benchmark::State& state)
{
    const SkinDocument document = LoadExampleDocument();
    const PreviewSettings settings = VolumeShown();
    QImage surface = NewPreviewSurface();
    // The editor has drawn the skin once when it was opened: fonts are loaded.
    DrawPreview(surface, document, settings);
    for (auto _ : state) {
        DrawPreview(surface, document, settings);
        benchmark::DoNotOptimize(surface.constBits());
    }
}
BENCHMARK(BM_DrawPreview)->Unit(benchmark::kMicrosecond);

// One keystroke in the x field of "Artist": the key-down, text-change and key-up
// notifications each write the element back (compose and replace its line, parse
// all lines) and redraw the preview.
void BM_KeystrokeRoundTrip(benchmark::State& state)
{
    SkinDocument document = LoadExampleDocument();
    const PreviewSettings settings = VolumeShown();
    QImage surface = NewPreviewSurface();
    DrawPreview(surface, document, settings);
    const ItemValues artist = ReadElementValues(document.Lines, SkinCategory::Strings, "Artist");
    ItemValues values = artist;
    int typed = 0;
    for (auto _ : state) {
        values.X = artist.X + (typed++ % 10); // each keystroke changes the digit
        for (int notification = 0; notification < 3; ++notification) {
            document.StoreItem(SkinCategory::Strings, "Artist", values);
            DrawPreview(surface, document, settings);
        }
        benchmark::DoNotOptimize(surface.constBits());
    }
}
BENCHMARK(BM_KeystrokeRoundTrip)->Unit(benchmark::kMicrosecond);

// The ten previews, their frames and labels: one redraw of View › All states.
void BM_DrawStatesSheet(benchmark::State& state)
{
    const SkinDocument document = LoadExampleDocument();
    const PreviewSettings settings = VolumeShown();
    DrawStatesSheet(document, settings); // fonts loaded, as in the running editor
    for (auto _ : state) {
        const QImage sheet = DrawStatesSheet(document, settings);
        benchmark::DoNotOptimize(sheet.constBits());
    }
}
BENCHMARK(BM_DrawStatesSheet)->Unit(benchmark::kMicrosecond);

} // namespace
