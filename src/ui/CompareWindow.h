#pragma once
// View › Changes since saved and View › Compare with…: the open skin (B) against the
// state the last Open or Save as left, or against another skin folder (A). The ten
// looks of both and the marked third, as vellumark-skin diff draws them, with the
// list of what differs beside them; a row picked is outlined in the pictures. It
// follows every change of the session while shown and draws again only the side
// that changed: an edit draws B's ten looks, A's stay.
#include "SkinComparison.h"

#include <QImage>
#include <QString>
#include <QWidget>

#include <array>
#include <vector>

class EditingSession;
class ErrorReporter;
class PictureView;
class QLabel;
class QListWidget;
class QTimer;
struct SkinChange;

class TCompareWindow : public QWidget {
    Q_OBJECT

public:
    // The colour rows are outlined in.
    static constexpr QRgb RowMark = 0xFF00A0FF;

    TCompareWindow(EditingSession& session, const ErrorReporter& errors, QWidget* parent);

    // A becomes the saved state, and follows each Open and Save as.
    void CompareWithSaved();
    // A becomes the skin in folder (or its Ruvex.rvk), read in place once. Throws
    // SkinError when it cannot be read; the window is then left as it was.
    void CompareWith(const QString& folder);

    const SkinComparison& Comparison() const { return comparison_; }
    // The three sheets as shown, a picked row outlined in them.
    const QImage& ShownSheet(int part) const;
    // Draws at once what is due; the window does so itself soon after each change.
    void Refresh();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Follow(const SkinChange& change);
    void Schedule(bool sideA);
    void ShowRows();
    void ShowMarks();

    EditingSession& session_;
    const ErrorReporter& errors_;
    bool againstSaved_ = true;
    SkinDocument other_; // A
    SkinLooks looksA_;
    SkinLooks looksB_;
    SkinComparison comparison_;
    std::vector<SkinDifference> shownRows_; // as the list shows them
    bool staleA_ = true;
    bool staleB_ = true;
    QTimer* redraw_ = nullptr;
    QLabel* titleA_ = nullptr;
    QListWidget* rows_ = nullptr;
    std::array<PictureView*, 3> views_{};
};
