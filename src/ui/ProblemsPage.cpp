#include "ProblemsPage.h"

#include "EditingSession.h"
#include "ErrorReporter.h"
#include "LineMending.h"
#include "TextFitWarnings.h"

#include <QListWidget>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

ProblemsPage::ProblemsPage(EditingSession& session, const ErrorReporter& errors, QWidget* page)
    : QWidget(page), session_(session), errors_(errors)
{
    setObjectName(QStringLiteral("ProblemsPage"));
    auto* fill = new QVBoxLayout(page);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(this);

    problemList_ = new QListWidget(this);
    problemList_->setObjectName(QStringLiteral("ProblemList"));
    problemList_->setSelectionMode(QAbstractItemView::SingleSelection);
    // A message is longer than the page is wide: wrapped, it reads without scrolling.
    problemList_->setWordWrap(true);
    problemList_->setResizeMode(QListView::Adjust);
    problemList_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    problemList_->setAlternatingRowColors(true); // where a wrapped row ends
    problemList_->setIconSize(QSize(16, 16));   // a warning's mark, no taller than a line
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(problemList_);
    // Double click and Enter.
    connect(problemList_, &QListWidget::itemActivated, this, &ProblemsPage::ProblemListActivated);

    // One check after the last of a burst of changes: a keystroke only restarts the timer.
    recheckTimer_ = new QTimer(this);
    recheckTimer_->setObjectName(QStringLiteral("RecheckTimer"));
    recheckTimer_->setSingleShot(true);
    recheckTimer_->setInterval(RecheckDelay);
    connect(recheckTimer_, &QTimer::timeout, this, &ProblemsPage::Recheck);
    const auto later = [this] { recheckTimer_->start(); };
    connect(&session_, &EditingSession::Changed, this, later);
    // Warnings come from the drawing: new texts or settings draw again without a change.
    connect(&session_, &EditingSession::PreviewDrawn, this, later);
    Recheck();
}

QString ProblemsPage::Caption() const
{
    if (warnings_.empty())
        return problems_.empty() ? QStringLiteral("Problems") : QStringLiteral("Problems (%1)").arg(problems_.size());
    return QStringLiteral("Problems (%1, %2 %3)")
        .arg(problems_.size())
        .arg(warnings_.size())
        .arg(warnings_.size() == 1 ? QStringLiteral("warning") : QStringLiteral("warnings"));
}

namespace {

// The file's own bytes, one character each, as check prints them.
QListWidgetItem* Row(const std::string& text)
{
    auto* item = new QListWidgetItem(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
    item->setToolTip(item->text());
    return item;
}

} // namespace

void ProblemsPage::Recheck()
{
    recheckTimer_->stop();
    errors_.Run([this] {
        const SkinDocument& document = session_.Document();
        std::vector<SkinProblem> problems = CheckDocument(document);
        // Nothing drawn yet, nothing to warn of; while a line does not parse, the
        // warnings are those of the drawing the preview keeps.
        std::vector<SkinProblem> warnings;
        if (document.SkinLoaded && !document.SkinFileName.isEmpty())
            warnings = TextFitWarnings(session_.DrawnElements(), document.Lines, session_.SampleTexts());
        if (problems == problems_ && warnings == warnings_)
            return; // the rows and the user's place in them stay
        problems_ = std::move(problems);
        warnings_ = std::move(warnings);
        const int row = problemList_->currentRow();
        problemList_->clear();
        for (const SkinProblem& problem : problems_)
            problemList_->addItem(Row(ProblemLine(problem)));
        const QIcon warningIcon = style()->standardIcon(QStyle::SP_MessageBoxWarning);
        for (const SkinProblem& warning : warnings_) {
            QListWidgetItem* item = Row(WarningLine(warning));
            item->setIcon(warningIcon);
            problemList_->addItem(item);
        }
        if (row >= 0 && problemList_->count() > 0)
            problemList_->setCurrentRow(std::min(row, problemList_->count() - 1));
        emit CaptionChanged(Caption());
    });
}

void ProblemsPage::ProblemListActivated()
{
    errors_.Run([this] {
        const int row = problemList_->currentRow();
        if (row < 0 || static_cast<std::size_t>(row) >= problems_.size() + warnings_.size())
            return;
        const auto index = static_cast<std::size_t>(row);
        const SkinProblem problem = index < problems_.size() ? problems_[index] : warnings_[index - problems_.size()];
        // Its element's fields would only raise the error again.
        if (NeedsMendingAsText(session_.Document().Lines, problem)) {
            emit LineToMend(problem.line - 1);
            return;
        }
        if (!problem.key.empty()) {
            const ElementRef element{problem.category, problem.key};
            // Every view goes there, even when the session has it selected already: the
            // property editor may show another category meanwhile.
            if (session_.Selection() == element)
                session_.Select(std::nullopt);
            session_.Select(element);
        }
        else if (problem.picture >= 0)
            session_.ShowPicture(problem.picture);
        else
            return; // a line of no element: nowhere to go
        emit WentTo(problem);
    });
}
