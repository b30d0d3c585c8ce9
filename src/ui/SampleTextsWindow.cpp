#include "SampleTextsWindow.h"

#include "ErrorReporter.h"
#include "SampleTextChoice.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// The most characters of one text: more than any phone shows on a line of 176 pixels.
constexpr int MaxTextLength = 200;

// Hands each keystroke to the table at once, not only when the editor closes, and
// leaves the editor alone when the text coming back is the one it holds (setText
// would move the cursor to the end).
class LiveTextDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        auto* edit = new QLineEdit(parent);
        edit->setObjectName(QStringLiteral("SampleTextEdit"));
        edit->setMaxLength(MaxTextLength);
        // The preview prints 8-bit texts: printable Latin-1 only.
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[\\x{20}-\\x{7E}\\x{A0}-\\x{FF}]*")), edit));
        auto* self = const_cast<LiveTextDelegate*>(this); // commitData is a signal of this delegate
        connect(edit, &QLineEdit::textEdited, self, [self, edit] { emit self->commitData(edit); });
        return edit;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        auto* edit = static_cast<QLineEdit*>(editor);
        const QString text = index.data(Qt::EditRole).toString();
        if (edit->text() != text)
            edit->setText(text);
    }
};

} // namespace

SampleTextsWindow::SampleTextsWindow(SampleTextChoice& choice, const ErrorReporter& errors, QWidget* parent)
    : QWidget(parent, Qt::Window), choice_(choice), errors_(errors)
{
    setObjectName(QStringLiteral("SampleTextsWindow"));
    setWindowTitle(QStringLiteral("Sample texts"));

    auto* setRow = new QHBoxLayout;
    sets_ = new QButtonGroup(this);
    for (const SampleTextSet set : {SampleTextSet::Shipped, SampleTextSet::Long, SampleTextSet::Short,
                                    SampleTextSet::Custom}) {
        const QString name = QString::fromLatin1(SampleTextSetName(set));
        auto* button = new QRadioButton(name, this);
        button->setObjectName(name + QStringLiteral("Button"));
        sets_->addButton(button, static_cast<int>(set));
        setRow->addWidget(button);
    }
    setRow->addStretch();
    connect(sets_, &QButtonGroup::idClicked, this,
            [this](int id) { errors_.Run([&] { choice_.Choose(static_cast<SampleTextSet>(id)); }); });

    SampleTextTable = new QTableWidget(SampleTextCount, 2, this);
    SampleTextTable->setObjectName(QStringLiteral("SampleTextTable"));
    SampleTextTable->setHorizontalHeaderLabels({QStringLiteral("Text"), QStringLiteral("Sample")});
    SampleTextTable->verticalHeader()->hide();
    SampleTextTable->setWordWrap(false); // one line a text, as the phone prints it
    SampleTextTable->horizontalHeader()->setStretchLastSection(true);
    SampleTextTable->setSelectionMode(QAbstractItemView::SingleSelection);
    SampleTextTable->setItemDelegateForColumn(1, new LiveTextDelegate(SampleTextTable));
    SampleTextTable->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                                     | QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    for (int row = 0; row < SampleTextCount; ++row) {
        auto* caption = new QTableWidgetItem(QString::fromLatin1(SampleTextCaptions[static_cast<std::size_t>(row)]));
        caption->setFlags(Qt::ItemIsEnabled);
        SampleTextTable->setItem(row, 0, caption);
        SampleTextTable->setItem(row, 1, new QTableWidgetItem);
    }
    SampleTextTable->resizeColumnToContents(0);
    SampleTextTable->resizeRowsToContents();
    // All ten rows in view: the table is short, and a scroll bar would hide a text.
    int rowsHeight = 0;
    for (int row = 0; row < SampleTextCount; ++row)
        rowsHeight += SampleTextTable->rowHeight(row);
    SampleTextTable->setMinimumHeight(SampleTextTable->horizontalHeader()->sizeHint().height() + rowsHeight
                                      + 2 * SampleTextTable->frameWidth());
    connect(SampleTextTable, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (item->column() == 1 && item->text() != choice_.Texts().value(item->row()))
            errors_.Run([&] { choice_.SetText(item->row(), item->text()); });
    });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(setRow);
    layout->addWidget(SampleTextTable);
    resize(420, sizeHint().height());

    connect(&choice_, &SampleTextChoice::Changed, this, &SampleTextsWindow::ShowChoice);
    ShowChoice();
}

void SampleTextsWindow::ShowChoice()
{
    sets_->button(static_cast<int>(choice_.Set()))->setChecked(true);
    const QStringList texts = choice_.Texts();
    for (int row = 0; row < SampleTextCount; ++row) {
        QTableWidgetItem* item = SampleTextTable->item(row, 1);
        if (item->text() != texts.value(row))
            item->setText(texts.value(row)); // an equal text is left alone, and with it the editor's cursor
    }
}
