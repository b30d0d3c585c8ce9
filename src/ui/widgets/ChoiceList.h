#pragma once
// A single-selection list whose selection only the program clears: Ctrl+click and
// a click below the entries leave it as it is, so a selected element never turns
// into "no selection" under the user's hands. Chosen() comes for a new selection,
// by mouse or keys, and for a click on the entry already selected.
#include <QListWidget>

class ChoiceList : public QListWidget {
    Q_OBJECT

public:
    explicit ChoiceList(QWidget* parent = nullptr);

    // The selected row; -1 when none is (the current row alone is no selection).
    int SelectedRow() const;

signals:
    void Chosen();

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event = nullptr) const override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int selectedBeforePress_ = -1;
};
