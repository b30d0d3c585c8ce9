#include "AboutBox.h"

#include "Placement.h"
#include "WindowFont.h"

#include <QLabel>
#include <QPushButton>

TAbout::TAbout(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("About"));
    setWindowTitle(QStringLiteral("About"));
    setFont(WindowFont());
    setFixedSize(216, 109);

    ProgVer = Place(new QLabel(this), "ProgVer", 0, 0, 217, 13);
    ProgVer->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    sLabel1 = Place(new QLabel(this), "sLabel1", 0, 16, 217, 52);
    sLabel1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    sLabel1->setWordWrap(true);
    sLabel1->setText(QStringLiteral("By the Vellumark developers\n\n"
                                    "Creates and edits skins for Ruvex, the phone player by the Ruvex authors."));

    sButton1 = Place(new QPushButton(QStringLiteral("&OK"), this), "sButton1", 72, 80, 75, 25);
    sButton1->setDefault(true);
    connect(sButton1, &QPushButton::clicked, this, &TAbout::sButton1Click);

    FormCreate();
}

void TAbout::FormCreate()
{
    ProgVer->setText(QString::fromLatin1(ProgramCaption));
}

void TAbout::sButton1Click()
{
    accept();
}
