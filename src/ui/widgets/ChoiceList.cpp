#include "ChoiceList.h"

#include <QMouseEvent>

ChoiceList::ChoiceList(QWidget* parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
        if (SelectedRow() >= 0)
            emit Chosen();
    });
    connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        if (row(item) == selectedBeforePress_ && row(item) == SelectedRow())
            emit Chosen();
    });
}

int ChoiceList::SelectedRow() const
{
    const QList<QListWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? -1 : row(selected.constFirst());
}

QItemSelectionModel::SelectionFlags ChoiceList::selectionCommand(const QModelIndex& index, const QEvent* event) const
{
    // Nothing under the cursor, or a toggle of the selected entry: keep the selection.
    if (!index.isValid())
        return QItemSelectionModel::NoUpdate;
    const QItemSelectionModel::SelectionFlags command = QListWidget::selectionCommand(index, event);
    if (command & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle))
        return selectionModel()->isSelected(index) ? QItemSelectionModel::NoUpdate
                                                   : QItemSelectionModel::ClearAndSelect;
    if (command & QItemSelectionModel::Clear && !(command & QItemSelectionModel::Select))
        return QItemSelectionModel::NoUpdate;
    return command;
}

void ChoiceList::mousePressEvent(QMouseEvent* event)
{
    selectedBeforePress_ = SelectedRow();
    QListWidget::mousePressEvent(event);
}
