#pragma once
// The page "Problems": what check finds in the open skin as it is in memory, one row
// per problem as check prints it. It checks again shortly after the last change the
// session reports, so a burst of keystrokes costs one check and typing never waits
// for it. Activating a row (double click or Enter) goes to the problem's element or
// picture through the session, or asks for its line as text when it cannot be read.
// Below the problems, marked as warnings, it lists where the sample texts of the
// session's last drawing do not fit (TextFitWarnings); they follow the texts too.
#include "SkinChecker.h"

#include <QString>
#include <QWidget>

#include <vector>

class EditingSession;
class ErrorReporter;
class QListWidget;
class QTimer;

class ProblemsPage : public QWidget {
    Q_OBJECT

public:
    static constexpr int RecheckDelay = 150; // ms after the last change

    // Fills page, which owns it.
    ProblemsPage(EditingSession& session, const ErrorReporter& errors, QWidget* page);

    const std::vector<SkinProblem>& Problems() const { return problems_; }
    const std::vector<SkinProblem>& Warnings() const { return warnings_; }
    // "Problems (3)", "Problems (2, 1 warning)", "Problems (0, 2 warnings)", or
    // "Problems" when there is neither.
    QString Caption() const;

    // Checks now instead of when the timer runs out.
    void Recheck();

public slots:
    void ProblemListActivated();

signals:
    void CaptionChanged(const QString& caption);
    // A row was activated: its element has been selected, or its picture asked for.
    void WentTo(const SkinProblem& problem);
    // A row was activated whose line cannot be read through its element (or belongs
    // to none): line index (0-based) is to be opened as text.
    void LineToMend(int index);

private:
    EditingSession& session_;
    const ErrorReporter& errors_;
    std::vector<SkinProblem> problems_;
    std::vector<SkinProblem> warnings_;
    QListWidget* problemList_ = nullptr;
    QTimer* recheckTimer_ = nullptr;
};
