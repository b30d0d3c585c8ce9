#include "CompareWindow.h"

#include "EditingSession.h"
#include "ErrorReporter.h"
#include "FilePaths.h"
#include "PictureView.h"
#include "SkinError.h"
#include "SkinLoader.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QScrollArea>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>

#include <memory>
#include <optional>

namespace {

constexpr int Columns = static_cast<int>(PlayStateNames.size());

// What a row is about, so that the same row is picked again after a refresh.
bool SameSubject(const SkinDifference& a, const SkinDifference& b)
{
    return a.kind == b.kind && a.key == b.key && a.picture == b.picture && a.look == b.look
        && (a.kind != DifferenceKind::Line || !a.key.empty() || a.text == b.text);
}

QString MarkLegend()
{
    const auto mark = [](QRgb color, const char* name) {
        return QStringLiteral("<span style=\"color:%1\">\u25a0</span> %2").arg(QColor(color).name(), QLatin1String(name));
    };
    return QStringLiteral("Differences, on B faded: ") + mark(ChangedMark, "changed") + QStringLiteral("&nbsp; ")
        + mark(AddedMark, "added (only B paints it)") + QStringLiteral("&nbsp; ") + mark(RemovedMark, "removed (only A paints it)");
}

} // namespace

TCompareWindow::TCompareWindow(EditingSession& session, const ErrorReporter& errors, QWidget* parent)
    : QWidget(parent, Qt::Window), session_(session), errors_(errors)
{
    setObjectName(QStringLiteral("CompareWindow"));
    setWindowTitle(QStringLiteral("Changes since saved"));

    auto* pictures = new QWidget;
    auto* column = new QVBoxLayout(pictures);
    titleA_ = new QLabel(QStringLiteral("A: as saved"));
    const std::array<QLabel*, 3> titles = {titleA_, new QLabel(QStringLiteral("B: now")), new QLabel(MarkLegend())};
    const std::array<const char*, 3> names = {"SheetA", "SheetB", "MarkedSheet"};
    for (std::size_t part = 0; part < views_.size(); ++part) {
        views_[part] = new PictureView;
        views_[part]->setObjectName(QLatin1String(names[part]));
        column->addWidget(titles[part]);
        column->addWidget(views_[part]);
    }
    column->addStretch();
    auto* scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("CompareScroll"));
    scroll->setWidget(pictures);
    scroll->setWidgetResizable(true);
    scroll->setBackgroundRole(QPalette::Base);

    rows_ = new QListWidget;
    rows_->setObjectName(QStringLiteral("DifferenceList"));
    auto* splitter = new QSplitter(this);
    splitter->addWidget(scroll);
    splitter->addWidget(rows_);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({SheetLayout().Size().width() + 40, 380});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter);
    resize(SheetLayout().Size().width() + 440, 860);

    redraw_ = new QTimer(this);
    redraw_->setSingleShot(true);
    redraw_->setInterval(0);
    connect(redraw_, &QTimer::timeout, this, &TCompareWindow::Refresh);
    connect(rows_, &QListWidget::currentRowChanged, this, [this] { errors_.Run([this] { ShowMarks(); }); });
    connect(&session_, &EditingSession::Changed, this, &TCompareWindow::Follow);
    connect(&session_, &EditingSession::SkinSaved, this, [this] { Schedule(againstSaved_); });
    connect(&session_, &EditingSession::SettingsChanged, this, [this] { Schedule(true); });
    connect(&session_, &EditingSession::SampleTextsChanged, this, [this] { Schedule(true); });
}

void TCompareWindow::CompareWithSaved()
{
    againstSaved_ = true;
    titleA_->setText(QStringLiteral("A: as saved"));
    setWindowTitle(QStringLiteral("Changes since saved"));
    Schedule(true);
}

void TCompareWindow::CompareWith(const QString& folder)
{
    const SkinPath skin = SkinPathOf(folder);
    const QString& dir = skin.folder;
    SkinDocument other;
    other.Pictures[StatusLineSlot] = session_.Document().Pictures[StatusLineSlot];
    other.LangLines = session_.Document().LangLines;
    LoadSkin(other, skin.description);
    other_ = std::move(other);
    againstSaved_ = false;
    titleA_->setText(QStringLiteral("A: ") + QDir::toNativeSeparators(dir));
    setWindowTitle(QStringLiteral("Compare with ") + QFileInfo(dir).fileName());
    staleA_ = true;
    Schedule(false);
}

const QImage& TCompareWindow::ShownSheet(int part) const
{
    return views_.at(static_cast<std::size_t>(part))->Shown();
}

void TCompareWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (staleA_ || staleB_)
        Refresh();
}

void TCompareWindow::Follow(const SkinChange& change)
{
    // A skin opened anew is saved as it came in.
    Schedule(againstSaved_ && change.opened);
}

void TCompareWindow::Schedule(bool sideA)
{
    staleA_ = staleA_ || sideA;
    staleB_ = true;
    if (isVisible())
        redraw_->start();
}

void TCompareWindow::Refresh()
{
    redraw_->stop();
    const SkinDocument& now = session_.Document();
    try {
        // Drawn again in place: the views let go of the sheets first, so that the
        // drawing does not copy them.
        for (PictureView* view : views_)
            view->ShowPicture(QImage());
        if (staleA_) {
            if (againstSaved_)
                other_ = session_.SavedDocument();
            if (other_.SkinLoaded)
                looksA_.Draw(other_, session_.SampleTexts(), session_.Settings());
            else
                looksA_.Forget();
            staleA_ = false;
        }
        if (staleB_ && now.SkinLoaded) {
            looksB_.Draw(now, session_.SampleTexts(), session_.Settings());
            staleB_ = false;
        }
        CompareSkins(other_, looksA_, now, looksB_, comparison_);
    } catch (const SkinError&) {
        // A skin the renderer refuses has been reported where the change was made.
    } catch (const std::exception& error) {
        errors_.Report(error.what()); // out of memory, most likely: never past the timer's frame
        return;
    }
    ShowRows();
    errors_.Run([this] { ShowMarks(); });
}

void TCompareWindow::ShowRows()
{
    const int current = rows_->currentRow();
    const std::optional<SkinDifference> picked = current >= 0 && current < static_cast<int>(shownRows_.size())
        ? std::optional(shownRows_[static_cast<std::size_t>(current)]) : std::nullopt;
    shownRows_ = comparison_.rows;
    const QSignalBlocker quiet(rows_);
    rows_->clear();
    int again = -1;
    for (std::size_t i = 0; i < shownRows_.size(); ++i) {
        rows_->addItem(shownRows_[i].text);
        if (again < 0 && picked && SameSubject(*picked, shownRows_[i]))
            again = static_cast<int>(i);
    }
    if (shownRows_.empty())
        rows_->addItem(QStringLiteral("No differences"));
    rows_->setCurrentRow(again);
}

void TCompareWindow::ShowMarks()
{
    std::array<QImage, 3> sheets = {looksA_.Sheet(), looksB_.Sheet(), comparison_.marked};
    const int current = rows_->currentRow();
    if (current >= 0 && current < static_cast<int>(shownRows_.size())) {
        const SkinDifference& row = shownRows_[static_cast<std::size_t>(current)];
        const SheetLayout layout;
        std::array<std::unique_ptr<QPainter>, 3> painters;
        for (std::size_t part = 0; part < sheets.size(); ++part) {
            if (sheets[part].isNull())
                continue;
            sheets[part] = sheets[part].copy();
            painters[part] = std::make_unique<QPainter>(&sheets[part]);
            painters[part]->setPen(QColor(RowMark));
        }
        for (int look = 0; look < LookCount; ++look) {
            const QRect inner = layout.PreviewRect(look % Columns, look / Columns);
            const PreviewSettings settings = LookSettings(session_.Settings(), look);
            const auto outline = [&](std::size_t part, const std::vector<QRect>& places) {
                if (!painters[part])
                    return;
                painters[part]->setClipRect(inner);
                for (const QRect& place : places) // one pixel outside what it marks
                    painters[part]->drawRect(place.translated(inner.topLeft()).adjusted(-1, -1, 0, 0));
            };
            const std::vector<QRect> placesA = other_.SkinLoaded
                ? DifferencePlaces(row, other_, session_.SampleTexts(), settings, comparison_) : std::vector<QRect>();
            const std::vector<QRect> placesB = session_.Document().SkinLoaded
                ? DifferencePlaces(row, session_.Document(), session_.SampleTexts(), settings, comparison_)
                : std::vector<QRect>();
            outline(0, placesA);
            outline(1, placesB);
            outline(2, placesA);
            outline(2, placesB);
        }
    }
    for (std::size_t part = 0; part < sheets.size(); ++part) {
        views_[part]->setFixedSize(sheets[part].size()); // the scroll area scrolls, never squeezes
        views_[part]->ShowPicture(sheets[part]);
    }
}
