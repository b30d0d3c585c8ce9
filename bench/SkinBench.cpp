// The core's costs on the example skin: parsing the description lines, loading the
// whole skin folder, making a picture into a GIF, and how parsing grows with the file's length.
#include "BenchSkin.h"

#include "GifConversion.h"
#include "SkinChecker.h"
#include "SkinLoader.h"
#include "TestImages.h"

#include <benchmark/benchmark.h>

namespace {

// ParseSkin of the example lines, as after every edit.
void BM_ParseSkin(benchmark::State& state)
{
    SkinDocument document = LoadExampleDocument();
    for (auto _ : state) {
        document.ParseSkin();
        benchmark::DoNotOptimize(document.Model);
    }
}
BENCHMARK(BM_ParseSkin);

// Reading Ruvex.rvk, decoding the fifteen GIFs and parsing.
void BM_LoadSkin(benchmark::State& state)
{
    SkinDocument document;
    const QString path = ExampleSkinPath();
    for (auto _ : state) {
        LoadSkin(document, path);
        benchmark::DoNotOptimize(document.Pictures);
    }
}
BENCHMARK(BM_LoadSkin);

// A 176x220 photo-like picture made into a 256-colour GIF, as Replace from file and
// import convert it: colours reduced, written, read back, errors measured.
void BM_ConvertPhotoToGif(benchmark::State& state)
{
    const QImage photo = NoiseField(176, 220);
    for (auto _ : state) {
        ConvertedGif converted = ConvertToGif(photo);
        benchmark::DoNotOptimize(converted.gif);
    }
}
BENCHMARK(BM_ConvertPhotoToGif)->Unit(benchmark::kMillisecond);

// The first ParseSkin after loading the example lines plus 1,000 to 100,000 comment
// lines: every key is looked up by passing all lines once.
void BM_ParseSkinPadded(benchmark::State& state)
{
    const std::vector<std::string> padded = PaddedExampleLines(static_cast<int>(state.range(0)));
    SkinDocument document;
    for (auto _ : state) {
        state.PauseTiming();
        document.Lines.Assign(padded);
        state.ResumeTiming();
        document.ParseSkin();
        benchmark::DoNotOptimize(document.Model);
    }
    state.SetComplexityN(static_cast<benchmark::IterationCount>(padded.size()));
}
BENCHMARK(BM_ParseSkinPadded)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond)->Complexity();

// ParseSkin of the same files after an edit, as each keystroke runs it.
void BM_ParseSkinPaddedEdited(benchmark::State& state)
{
    SkinDocument document;
    document.Lines.Assign(PaddedExampleLines(static_cast<int>(state.range(0))));
    document.ParseSkin();
    ItemValues values;
    values.Color = "0xFFFFFF00";
    document.StoreItem(SkinCategory::Strings, "Artist", values);
    for (auto _ : state) {
        document.ParseSkin();
        benchmark::DoNotOptimize(document.Model);
    }
}
BENCHMARK(BM_ParseSkinPaddedEdited)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// One check of the open example skin in memory, as the page "Problems" runs it after
// a change: its lines and what the load found of its pictures, no file read.
void BM_CheckDocument(benchmark::State& state)
{
    SkinDocument document = LoadExampleDocument();
    document.SkinFileName = ExampleSkinPath();
    for (auto _ : state) {
        auto problems = CheckDocument(document);
        benchmark::DoNotOptimize(problems);
    }
}
BENCHMARK(BM_CheckDocument)->Unit(benchmark::kMicrosecond);

} // namespace
