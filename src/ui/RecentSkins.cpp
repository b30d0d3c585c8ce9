#include "RecentSkins.h"

#include <QFileInfo>
#include <QSettings>

namespace {

const QString Key = QStringLiteral("RecentSkins");

} // namespace

QStringList RecentSkins::Entries() const
{
    const QStringList stored = QSettings().value(Key).toStringList();
    QStringList entries;
    for (const QString& file : stored) {
        if (!file.isEmpty() && !entries.contains(file) && entries.size() < MaxEntries)
            entries << file;
    }
    return entries;
}

void RecentSkins::Add(const QString& file)
{
    const QString absolute = QFileInfo(file).absoluteFilePath();
    QStringList entries = Entries();
    entries.removeAll(absolute);
    entries.prepend(absolute);
    Store(entries.mid(0, MaxEntries));
}

void RecentSkins::Remove(const QString& file)
{
    QStringList entries = Entries();
    entries.removeAll(file);
    Store(entries);
}

void RecentSkins::Clear()
{
    Store({});
}

void RecentSkins::Store(const QStringList& entries)
{
    // The settings file is written later by QSettings; a failure there loses only the list.
    QSettings().setValue(Key, entries);
}
