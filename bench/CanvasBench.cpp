// One step of a drag on the canvas, at 8x: the session composes and stores the
// element's line, parses, draws the preview (listing where each element went), and
// the canvas turns the new surface into its picture and paints its viewport.
#include "BenchSkin.h"

#include "CanvasView.h"
#include "EditingSession.h"
#include "ErrorReporter.h"
#include "QtDialogService.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// An executable folder with the shipped assets, as the editor starts beside them.
QString AssetFolder(const QTemporaryDir& folder)
{
    QDir(folder.path()).mkpath("Files");
    for (const char* name : {"LangRuvex.txt", "statusline.gif"})
        QFile::copy(QStringLiteral(VELLUMARK_SOURCE_DIR "/assets/Files/") + name,
                    folder.filePath(QStringLiteral("Files/") + name));
    return folder.path() + "/";
}

void BM_CanvasDragStep(benchmark::State& state)
{
    QTemporaryDir folder;
    const QString executable = AssetFolder(folder);
    EditingSession session([executable] { return executable; });
    session.LoadAssets();
    session.Open(ExampleSkinPath());
    QtDialogService dialogs(nullptr);
    ErrorReporter errors(dialogs);

    // The canvas window's usual viewport.
    CanvasView view(session, errors);
    view.resize(640, 560);
    view.SetZoom(8);
    QImage screen(view.viewport()->size(), QImage::Format_RGB32);

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
        session.StoreElement(artist, values, CanvasView::DragControl);
        view.viewport()->render(&screen);
        benchmark::DoNotOptimize(screen.constBits());
    }
}
BENCHMARK(BM_CanvasDragStep)->Unit(benchmark::kMicrosecond);

// The canvas's share of a step: keying the new surface and painting the viewport at 8x.
void BM_CanvasPaint(benchmark::State& state)
{
    QTemporaryDir folder;
    const QString executable = AssetFolder(folder);
    EditingSession session([executable] { return executable; });
    session.LoadAssets();
    session.Open(ExampleSkinPath());
    QtDialogService dialogs(nullptr);
    ErrorReporter errors(dialogs);
    CanvasView view(session, errors);
    view.resize(640, 560);
    view.SetZoom(8);
    QImage screen(view.viewport()->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        emit session.PreviewDrawn();
        view.viewport()->render(&screen);
        benchmark::DoNotOptimize(screen.constBits());
    }
}
BENCHMARK(BM_CanvasPaint)->Unit(benchmark::kMicrosecond);

} // namespace
