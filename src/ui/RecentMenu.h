#pragma once
// File › Open recent: the recent skins, read afresh each time the menu opens, and
// Clear list. A list the settings garble shows what it can and never fails start-up.
#include <QMenu>

class RecentSkins;

class RecentMenu : public QMenu {
    Q_OBJECT

public:
    // Lists recent, which must outlive the menu.
    RecentMenu(RecentSkins& recent, QWidget* parent = nullptr);

signals:
    void Chosen(const QString& file);

private:
    void Fill();

    RecentSkins& recent_;
};
