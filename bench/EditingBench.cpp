// The editing session's share of a keystroke: the three write-backs of one key
// through the session with the undo step recorded and merged, against the one
// change they make done straight on the document; and one undo step (line put back,
// parse, draw) against one drawing.
#include "BenchSession.h"
#include "ElementValues.h"

#include <benchmark/benchmark.h>

namespace {

// The example skin open, the volume bar shown, and Artist's values at hand.
struct OpenSession : ExampleSession {
    OpenSession()
    {
        PreviewSettings settings;
        settings.volumeShown = true;
        settings.volumeLevel = 5;
        session->SetSettings(settings);
        values = ReadElementValues(session->Document().Lines, artist.category, artist.key);
    }

    const ElementRef artist{SkinCategory::Strings, "Artist"};
    ItemValues values;
};

void BM_SessionKeystroke(benchmark::State& state)
{
    OpenSession open;
    const int x = open.values.X;
    int typed = 0;
    for (auto _ : state) {
        open.values.X = x + (typed++ % 10);
        for (int notification = 0; notification < 3; ++notification)
            open.session->StoreElement(open.artist, open.values, 0);
        benchmark::DoNotOptimize(open.session->Surface().constBits());
    }
}
BENCHMARK(BM_SessionKeystroke)->Unit(benchmark::kMicrosecond);

// The change a keystroke makes, with no history: its line composed and put in place,
// the lines parsed, the preview drawn.
void BM_DocumentKeystroke(benchmark::State& state)
{
    OpenSession open;
    SkinDocument& document = open.session->Document();
    const int x = open.values.X;
    int typed = 0;
    for (auto _ : state) {
        open.values.X = x + (typed++ % 10);
        document.StoreItem(open.artist.category, open.artist.key, open.values);
        open.session->RedrawPreview();
    }
}
BENCHMARK(BM_DocumentKeystroke)->Unit(benchmark::kMicrosecond);

void BM_SessionDrawing(benchmark::State& state)
{
    OpenSession open;
    for (auto _ : state)
        open.session->RedrawPreview();
}
BENCHMARK(BM_SessionDrawing)->Unit(benchmark::kMicrosecond);

void BM_UndoStep(benchmark::State& state)
{
    OpenSession open;
    open.values.X += 7;
    open.session->StoreElement(open.artist, open.values, 0);
    for (auto _ : state) {
        open.session->Undo();
        state.PauseTiming();
        open.session->Redo();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_UndoStep)->Unit(benchmark::kMicrosecond);

} // namespace

namespace {

// The Colours window's palette of the example skin: the description's colour words
// and every opaque pixel of the fifteen pictures counted. Against one drawing.
void BM_Palette(benchmark::State& state)
{
    OpenSession open;
    for (auto _ : state)
        benchmark::DoNotOptimize(open.session->Palette());
}
BENCHMARK(BM_Palette)->Unit(benchmark::kMicrosecond);

// One step of an edition's live preview as the dialog makes it when a field
// changes: the edition worked out for the palette, the lines and pictures
// recoloured in memory, the preview drawn. Against one drawing.
void BM_EditionPreviewStep(benchmark::State& state)
{
    OpenSession open;
    const std::vector<PaletteRow> palette = open.session->Palette();
    int step = 0;
    for (auto _ : state) {
        open.session->PreviewColors(EditionOf(palette, {static_cast<float>(5 * (1 + step++ % 60))}).map);
        benchmark::DoNotOptimize(open.session->Surface().constBits());
    }
}
BENCHMARK(BM_EditionPreviewStep)->Unit(benchmark::kMicrosecond);

} // namespace
