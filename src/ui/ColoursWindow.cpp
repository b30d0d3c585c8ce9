#include "ColoursWindow.h"

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

enum Column { ColourColumn, UsesColumn, PixelsColumn };

QIcon Swatch(QRgb colour)
{
    QPixmap swatch(16, 16);
    swatch.fill(QColor(colour));
    return QIcon(swatch);
}

} // namespace

ColoursWindow::ColoursWindow(EditingSession& session, DialogService& dialogs, const ErrorReporter& errors,
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

void ColoursWindow::Refill()
{
    const QTreeWidgetItem* current = list_->currentItem();
    const QString selected = current && current->isSelected() ? current->text(ColourColumn) : QString();
    // The rows go and come back quietly: one marking after them, not one per row.
    const QSignalBlocker quiet(list_);
    list_->clear();
    rows_ = session_.Palette();
    for (const PaletteRow& row : rows_) {
        auto* item = new QTreeWidgetItem(list_);
        item->setIcon(ColourColumn, Swatch(row.colour));
        item->setText(ColourColumn, QString::fromLatin1(ColourName(row.colour)));
        item->setData(ColourColumn, Qt::UserRole, row.colour);
        // Key names and file names are 8-bit bytes of the skin's own.
        item->setText(UsesColumn, QString::fromLatin1(row.Uses()));
        item->setToolTip(UsesColumn, item->text(UsesColumn));
        item->setText(PixelsColumn, QString::number(row.Pixels()));
        item->setTextAlignment(PixelsColumn, Qt::AlignRight | Qt::AlignVCenter);
        if (item->text(ColourColumn) == selected)
            list_->setCurrentItem(item);
    }
    list_->resizeColumnToContents(ColourColumn);
    list_->resizeColumnToContents(PixelsColumn);
    MarkSelected();
}

void ColoursWindow::MarkSelected()
{
    QTreeWidgetItem* item = list_->currentItem();
    const bool chosen = item != nullptr && item->isSelected();
    replace_->setEnabled(chosen);
    if (!chosen || !isVisible()) {
        session_.MarkColour(std::nullopt);
        return;
    }
    const PaletteRow& row = rows_[static_cast<std::size_t>(list_->indexOfTopLevelItem(item))];
    ColourUses uses{row.colour, row.elements, {}};
    for (const PictureUse& picture : row.pictures)
        uses.pictures.push_back(picture.number);
    session_.MarkColour(std::move(uses));
}

void ColoursWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    MarkSelected();
}

void ColoursWindow::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    session_.MarkColour(std::nullopt);
}

void ColoursWindow::ReplaceSelected()
{
    const QTreeWidgetItem* item = list_->currentItem();
    if (item == nullptr || !item->isSelected())
        return;
    const QRgb from = item->data(ColourColumn, Qt::UserRole).toUInt();
    // The skin's own colours, most used first, are the dialog's custom colours.
    std::vector<QColor> custom;
    for (int i = 0; i < list_->topLevelItemCount() && custom.size() < 16; ++i)
        custom.emplace_back(QRgb(list_->topLevelItem(i)->data(ColourColumn, Qt::UserRole).toUInt()));
    const auto chosen = dialogs_.PickColor(QColor(from), custom);
    if (!chosen)
        return;
    session_.ReplaceColour(from, chosen->rgb());
    // The row follows its colour to the new one.
    const QString name = QString::fromLatin1(ColourName(chosen->rgb()));
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        if (list_->topLevelItem(i)->text(ColourColumn) == name)
            list_->setCurrentItem(list_->topLevelItem(i));
    }
}

void ColoursWindow::MakeEdition()
{
    if (session_.Document().SkinFileName.isEmpty())
        throw SkinError("Open a skin before making an edition of it");
    EditionDialog dialog(session_, dialogs_, errors_, this);
    dialogs_.ShowModal(dialog);
    if (dialog.result() == QDialog::Accepted)
        session_.Recolour(dialog.Result().map, dialog.StepName());
}
