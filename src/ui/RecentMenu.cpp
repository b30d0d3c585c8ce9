#include "RecentMenu.h"

#include "RecentSkins.h"

#include <QDir>
#include <QFileInfo>

RecentMenu::RecentMenu(RecentSkins& recent, QWidget* parent) : QMenu(QStringLiteral("Open recent"), parent), recent_(recent)
{
    setObjectName(QStringLiteral("Openrecent1"));
    connect(this, &QMenu::aboutToShow, this, &RecentMenu::Fill);
}

void RecentMenu::Fill()
{
    clear();
    const QStringList entries = recent_.Entries();
    for (const QString& entry : entries) {
        // The folder names the skin; "&" would make the next letter a shortcut.
        QString caption = QDir::toNativeSeparators(QFileInfo(entry).absolutePath());
        caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* action = addAction(caption);
        connect(action, &QAction::triggered, this, [this, entry] { emit Chosen(entry); });
    }
    addSeparator();
    QAction* clearList = addAction(QStringLiteral("Clear list"));
    clearList->setObjectName(QStringLiteral("Clearlist1"));
    clearList->setEnabled(!entries.isEmpty());
    connect(clearList, &QAction::triggered, this, [this] { recent_.Clear(); });
}
