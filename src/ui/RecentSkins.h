#pragma once
// File › Open recent: the description files of the last skins opened, newest
// first, kept in the application's settings. Whatever the settings hold (nothing,
// another type, duplicates, empty names) reads as a clean list: the list never
// raises an error.
#include <QStringList>

class RecentSkins {
public:
    static constexpr int MaxEntries = 8;

    // The entries, newest first, at most MaxEntries.
    QStringList Entries() const;
    // Puts file first, dropping an older entry of the same file.
    void Add(const QString& file);
    void Remove(const QString& file);
    void Clear();

private:
    void Store(const QStringList& entries);
};
