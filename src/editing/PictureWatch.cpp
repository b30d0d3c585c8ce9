#include "PictureWatch.h"

#include "SkinDocument.h"

#include <QDir>
#include <QFileInfo>

PictureWatch::PictureWatch(QObject* parent) : QObject(parent)
{
    settle_.setSingleShot(true);
    settle_.setInterval(SettleMs);
    connect(&settle_, &QTimer::timeout, this, [this] {
        if (folder_.isEmpty())
            return;
        WatchAgain();
        emit Settled();
    });
    // Each event restarts the wait: the comparison runs once the burst is over.
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, [this] { settle_.start(); });
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, [this] { settle_.start(); });
}

void PictureWatch::Watch(const QString& folder)
{
    settle_.stop();
    if (!watcher_.files().isEmpty())
        watcher_.removePaths(watcher_.files());
    if (!watcher_.directories().isEmpty())
        watcher_.removePaths(watcher_.directories());
    folder_ = folder;
    if (!folder_.isEmpty())
        WatchAgain();
}

void PictureWatch::WatchAgain()
{
    // A watch follows the file it was made on, not its name: after a rename over it
    // the name holds another file. Every name is watched afresh.
    if (!watcher_.files().isEmpty())
        watcher_.removePaths(watcher_.files());
    QStringList paths;
    for (int number = 0; number < SkinPictureCount; ++number) {
        const QString file = folder_ + PictureFileName(number);
        if (QFileInfo::exists(file))
            paths << file;
    }
    const QString folder = QDir::cleanPath(folder_);
    if (!watcher_.directories().contains(folder))
        paths << folder;
    if (!paths.isEmpty())
        watcher_.addPaths(paths);
}
