// What the page "Problems" adds to typing: one keystroke in the x field of "Artist",
// delivered to the property editor as the user's key is, with and without the page
// following the same session; and the worst case, in which every keystroke comes
// after the page's delay and so is followed by a check of its own. Beside them, one
// drawing of the skin: a keystroke should cost little more. The same keystrokes with
// the Long sample texts, whose warnings the page lists besides the problems.
#include "BenchSession.h"

#include "DialogService.h"
#include "ErrorReporter.h"
#include "ProblemsPage.h"
#include "PropertyEditor.h"
#include "SampleTextSets.h"

#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QTest>

#include <benchmark/benchmark.h>

#include <stdexcept>

namespace {

// The benchmark opens no dialog; one that came would be a fault of the set-up.
class NoDialogs : public DialogService {
protected:
    std::optional<QString> RunFileDialog(const FileDialogSettings&, const QString&) override { return {}; }
    std::optional<QColor> RunColorDialog(const QColor&, const std::vector<QColor>&) override { return {}; }
    std::optional<int> RunScaleDialog(const QString&, int, int) override { return {}; }
    std::optional<QString> RunLineDialog(const QString&, const QString&) override { return {}; }

public:
    void ShowError(const QString&, const QString& text) override { throw std::runtime_error(text.toStdString()); }
    void ShowWarning(const QString&, const QString&) override {}
    UnsavedChangesAnswer AskUnsavedChanges(const QString&, bool) override { return UnsavedChangesAnswer::Cancel; }
    OpenedFolderAnswer AskWriteIntoOpened(const QString&) override { return OpenedFolderAnswer::Cancel; }
    void ShowModal(QDialog&) override {}
    bool Confirm(const QString&) override { return false; }
};

enum PageMode { WithoutPage = 0, WithPage = 1, CheckEveryKey = 2 };

struct Editor : ExampleSession {
    explicit Editor(bool withPage, bool longTexts = false)
    {
        if (longTexts)
            session->SetSampleTexts(LongSampleTexts());
        editor = new PropertyEditor(*session, dialogs, errors, &editing);
        editor->ShowCategoryNames();
        if (withPage)
            problems = new ProblemsPage(*session, errors, &problemsSheet);
        // "Artist" selected as the user selects it.
        editing.findChild<QComboBox*>(QStringLiteral("CurList"))->setCurrentIndex(0);
        auto* items = editing.findChild<QListWidget*>(QStringLiteral("SkinItems"));
        items->setCurrentItem(items->findItems(QStringLiteral("Artist"), Qt::MatchExactly).front());
        xField = editing.findChild<QWidget*>(QStringLiteral("XEdit"));
        if (xField == nullptr)
            throw std::runtime_error("no XEdit");
    }

    NoDialogs dialogs;
    ErrorReporter errors{dialogs};
    QWidget editing;
    QWidget problemsSheet;
    PropertyEditor* editor = nullptr;
    ProblemsPage* problems = nullptr;
    QWidget* xField = nullptr;
};

// With uncached, the session's drawing cache is cleared before each key.
void Keystrokes(benchmark::State& state, bool longTexts, bool uncached = false)
{
    const auto mode = static_cast<PageMode>(state.range(0));
    Editor editor(mode != WithoutPage, longTexts);
    if (longTexts && editor.problems != nullptr && editor.problems->Warnings().empty())
        throw std::runtime_error("the Long texts give no warning");
    QWidget* field = editor.xField;
    // End on the line as it was, so the field's text is steady: type a digit, then
    // take it back. Each of the two counts as one keystroke.
    PreviewCache& cache = editor.session->DrawingCache();
    // Typed at the end, where the two keys leave the cursor.
    QTest::keyClick(field, Qt::Key_End);
    long changes = 0;
    QObject::connect(editor.session.get(), &EditingSession::Changed, [&changes] { ++changes; });
    for (auto _ : state) {
        if (uncached)
            cache.Clear();
        QTest::keyClick(field, Qt::Key_7);
        QCoreApplication::processEvents();
        if (mode == CheckEveryKey)
            editor.problems->Recheck();
        if (uncached)
            cache.Clear();
        QTest::keyClick(field, Qt::Key_Backspace);
        QCoreApplication::processEvents();
        if (mode == CheckEveryKey)
            editor.problems->Recheck();
    }
    // A keystroke that wrote nothing would make a fast benchmark of no use.
    if (changes < 2 * static_cast<long>(state.iterations()))
        throw std::runtime_error("the keys did not type into the x field of Artist");
    state.SetItemsProcessed(state.iterations() * 2); // the time shown is for two keystrokes
}

void BM_Keystroke(benchmark::State& state)
{
    Keystrokes(state, false);
}
BENCHMARK(BM_Keystroke)->Arg(WithoutPage)->Arg(WithPage)->Arg(CheckEveryKey)->Unit(benchmark::kMicrosecond);

// The same keystroke without the page, with nothing kept from the drawing before.
void BM_KeystrokeUncached(benchmark::State& state)
{
    Keystrokes(state, false, true);
}
BENCHMARK(BM_KeystrokeUncached)->Arg(WithoutPage)->Unit(benchmark::kMicrosecond);

// With the Long texts: the page lists their warnings, found from each drawing.
void BM_KeystrokeLongTexts(benchmark::State& state)
{
    Keystrokes(state, true);
}
BENCHMARK(BM_KeystrokeLongTexts)->Arg(WithoutPage)->Arg(WithPage)->Arg(CheckEveryKey)->Unit(benchmark::kMicrosecond);

// One drawing of the same skin, the least a keystroke must cost: what BM_Keystroke is
// measured against.
void BM_KeystrokeDrawing(benchmark::State& state)
{
    Editor editor(false);
    for (auto _ : state)
        editor.session->RedrawPreview();
}
BENCHMARK(BM_KeystrokeDrawing)->Unit(benchmark::kMicrosecond);

} // namespace
