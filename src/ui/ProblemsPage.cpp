#include "ProblemsPage.h"

#include "EditingSession.h"
#include "ErrorReporter.h"
#include "LineMending.h"

#include <QListWidget>
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
    Recheck();
}

QString ProblemsPage::Caption() const
{
    return problems_.empty() ? QStringLiteral("Problems") : QStringLiteral("Problems (%1)").arg(problems_.size());
}

void ProblemsPage::Recheck()
{
    recheckTimer_->stop();
    errors_.Run([this] {
        std::vector<SkinProblem> problems = CheckDocument(session_.Document());
        if (problems == problems_)
            return; // the rows and the user's place in them stay
        problems_ = std::move(problems);
        const int row = problemList_->currentRow();
        problemList_->clear();
        for (const SkinProblem& problem : problems_) {
            // The file's own bytes, one character each, as check prints them.
            const std::string text = ProblemLine(problem);
            auto* item = new QListWidgetItem(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
            item->setToolTip(item->text());
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
        if (row < 0 || static_cast<std::size_t>(row) >= problems_.size())
            return;
        const SkinProblem problem = problems_[static_cast<std::size_t>(row)];
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
