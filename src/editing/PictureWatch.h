#pragma once
// Watches the pictures of the working copy for changes made by other programs.
// Paint programs save by writing a new file and renaming it over the old one,
// which ends a watch on the file: the folder is watched too, and every file is
// watched again after each change. A burst of changes settles for SettleMs before
// it is reported; whoever holds the pictures compares them with what it knows, so
// the editor's own writes need no special treatment.
#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

class PictureWatch : public QObject {
    Q_OBJECT

public:
    static constexpr int SettleMs = 300;

    explicit PictureWatch(QObject* parent = nullptr);

    // Watches folder's pictures (folder ends in a separator). An empty folder stops
    // watching.
    void Watch(const QString& folder);

signals:
    // Something in the folder changed, and the burst is over.
    void Settled();

private:
    void WatchAgain();

    QFileSystemWatcher watcher_;
    QTimer settle_;
    QString folder_;
};
