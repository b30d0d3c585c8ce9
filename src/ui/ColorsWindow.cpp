#include "ColorsWindow.h"

#include "DialogService.h"
#include "EditingSession.h"
#include "EditionDialog.h"
#include "ErrorReporter.h"
#include "SkinError.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

enum Column { ColorColumn, UsesColumn, PixelsColumn };

QIcon Swatch(QRgb color)
{
    QPixmap swatch(16, 16);
    swatch.fill(QColor(color));
    return QIcon(swatch);
}

} // namespace

ColorsWindow::ColorsWindow(EditingSession& session, DialogService& dialogs, const ErrorReporter& errors,
                             QWidget* parent)
    : QWidget(parent, Qt::Window), session_(session), dialogs_(dialogs), errors_(errors)
{
    setObjectName(QStringLiteral("ColoursWindow"));
    setWindowTitle(QStringLiteral("Colours"));
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("ColourList"));
    list_->setRootIsDecorated(false);
    list_->setHeaderLabels({QStringLiteral("Colour"), QStringLiteral("Used in"), QStringLiteral("Pixels")});
    list_->header()->setSectionResizeMode(UsesColumn, QHeaderView::Stretch);
    list_->header()->setStretchLastSection(false);
    replace_ = new QPushButton(QStringLiteral("Replace with\u2026"), this);
    replace_->setObjectName(QStringLiteral("ReplaceColour"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(replace_);
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QMenuBar(this);
    QMenu* menu = bar->addMenu(QStringLiteral("Colours"));
    menu->setObjectName(QStringLiteral("ColoursMenu"));
    QAction* replaceAction = menu->addAction(QStringLiteral("Replace with\u2026"));
    replaceAction->setObjectName(QStringLiteral("ReplaceColourAction"));
    QAction* edition = menu->addAction(QStringLiteral("Edition\u2026"));
    edition->setObjectName(QStringLiteral("Edition1"));
    layout->setMenuBar(bar);
    layout->addWidget(list_);
    layout->addLayout(buttons);
    resize(520, 300);

    connect(replace_, &QPushButton::clicked, this, [this] { errors_.Run([this] { ReplaceSelected(); }); });
    connect(replaceAction, &QAction::triggered, this, [this] { errors_.Run([this] { ReplaceSelected(); }); });
    connect(edition, &QAction::triggered, this, [this] { errors_.Run([this] { MakeEdition(); }); });
    connect(list_, &QTreeWidget::itemSelectionChanged, this, [this] { MarkSelected(); });
    connect(list_, &QTreeWidget::itemDoubleClicked, this,
            [this] { errors_.Run([this] { ReplaceSelected(); }); });
    connect(&session_, &EditingSession::Changed, this, [this] { Refill(); });
    Refill();
}

void ColorsWindow::Refill()
{
    const QTreeWidgetItem* current = list_->currentItem();
    const QString selected = current && current->isSelected() ? current->text(ColorColumn) : QString();
    // The rows go and come back quietly: one marking after them, not one per row.
    const QSignalBlocker quiet(list_);
    list_->clear();
    rows_ = session_.Palette();
    for (const PaletteRow& row : rows_) {
        auto* item = new QTreeWidgetItem(list_);
        item->setIcon(ColorColumn, Swatch(row.color));
        item->setText(ColorColumn, QString::fromLatin1(ColorName(row.color)));
        item->setData(ColorColumn, Qt::UserRole, row.color);
        // Key names and file names are 8-bit bytes of the skin's own.
        item->setText(UsesColumn, QString::fromLatin1(row.Uses()));
        item->setToolTip(UsesColumn, item->text(UsesColumn));
        item->setText(PixelsColumn, QString::number(row.Pixels()));
        item->setTextAlignment(PixelsColumn, Qt::AlignRight | Qt::AlignVCenter);
        if (item->text(ColorColumn) == selected)
            list_->setCurrentItem(item);
    }
    list_->resizeColumnToContents(ColorColumn);
    list_->resizeColumnToContents(PixelsColumn);
    MarkSelected();
}

void ColorsWindow::MarkSelected()
{
    QTreeWidgetItem* item = list_->currentItem();
    const bool chosen = item != nullptr && item->isSelected();
    replace_->setEnabled(chosen);
    if (!chosen || !isVisible()) {
        session_.MarkColor(std::nullopt);
        return;
    }
    const PaletteRow& row = rows_[static_cast<std::size_t>(list_->indexOfTopLevelItem(item))];
    ColorUses uses{row.color, row.elements, {}};
    for (const PictureUse& picture : row.pictures)
        uses.pictures.push_back(picture.number);
    session_.MarkColor(std::move(uses));
}

void ColorsWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    MarkSelected();
}

void ColorsWindow::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    session_.MarkColor(std::nullopt);
}

void ColorsWindow::ReplaceSelected()
{
    const QTreeWidgetItem* item = list_->currentItem();
    if (item == nullptr || !item->isSelected())
        return;
    const QRgb from = item->data(ColorColumn, Qt::UserRole).toUInt();
    // The skin's own colours, most used first, are the dialog's custom colours.
    std::vector<QColor> custom;
    for (int i = 0; i < list_->topLevelItemCount() && custom.size() < 16; ++i)
        custom.emplace_back(QRgb(list_->topLevelItem(i)->data(ColorColumn, Qt::UserRole).toUInt()));
    const auto chosen = dialogs_.PickColor(QColor(from), custom);
    if (!chosen)
        return;
    session_.ReplaceColor(from, chosen->rgb());
    // The row follows its colour to the new one.
    const QString name = QString::fromLatin1(ColorName(chosen->rgb()));
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        if (list_->topLevelItem(i)->text(ColorColumn) == name)
            list_->setCurrentItem(list_->topLevelItem(i));
    }
}

void ColorsWindow::MakeEdition()
{
    if (session_.Document().SkinFileName.isEmpty())
        throw SkinError("Open a skin before making an edition of it");
    EditionDialog dialog(session_, dialogs_, errors_, this);
    dialogs_.ShowModal(dialog);
    if (dialog.result() == QDialog::Accepted)
        session_.Recolor(dialog.Result().map, dialog.StepName());
}
