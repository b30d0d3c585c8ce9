#include "PictureWatch.h"

#include "SkinDocument.h"
#include "SkinError.h"
#include "TextFile.h"

#include <QDir>
#include <QFileInfo>

PictureWatch::PictureWatch(QObject* parent) : QObject(parent)
{
    settle_.setSingleShot(true);
    settle_.setInterval(SettleMs);
    connect(&settle_, &QTimer::timeout, this, &PictureWatch::Settled);
    // Each event restarts the wait: the comparison runs once the burst is over.
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, [this] { settle_.start(); });
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, [this] { settle_.start(); });
}

QString PictureWatch::PictureFile(int number) const
{
    return folder_ + PictureFileName(number);
}

std::optional<std::string> PictureWatch::Current(const QString& file)
{
    if (!QFileInfo(file).isFile())
        return std::nullopt;
    try {
        return ReadFileBytes(file, MaxPictureFileBytes);
    } catch (const SkinError&) {
        return std::nullopt;
    }
}

void PictureWatch::Watch(const QString& folder)
{
    settle_.stop();
    if (!watcher_.files().isEmpty())
        watcher_.removePaths(watcher_.files());
    if (!watcher_.directories().isEmpty())
        watcher_.removePaths(watcher_.directories());
    folder_ = folder;
    for (int number = 0; number < SkinPictureCount; ++number)
        known_[static_cast<std::size_t>(number)] = folder_.isEmpty() ? std::nullopt : Current(PictureFile(number));
    if (!folder_.isEmpty())
        WatchAgain();
}

void PictureWatch::Acknowledge(int number)
{
    if (folder_.isEmpty() || number < 0 || number >= SkinPictureCount)
        return;
    known_[static_cast<std::size_t>(number)] = Current(PictureFile(number));
}

const std::optional<std::string>& PictureWatch::Known(int number) const
{
    return known_.at(static_cast<std::size_t>(number));
}

void PictureWatch::WatchAgain()
{
    // A watch follows the file it was made on, not its name: after a rename over it
    // the name holds another file. Every name is watched afresh.
    if (!watcher_.files().isEmpty())
        watcher_.removePaths(watcher_.files());
    QStringList paths;
    for (int number = 0; number < SkinPictureCount; ++number) {
        const QString file = PictureFile(number);
        if (QFileInfo::exists(file))
            paths << file;
    }
    const QString folder = QDir::cleanPath(folder_);
    if (!watcher_.directories().contains(folder))
        paths << folder;
    if (!paths.isEmpty())
        watcher_.addPaths(paths);
}

void PictureWatch::Settled()
{
    if (folder_.isEmpty())
        return;
    WatchAgain();
    std::vector<int> changed;
    for (int number = 0; number < SkinPictureCount; ++number) {
        const std::optional<std::string> now = Current(PictureFile(number));
        if (now && now != known_[static_cast<std::size_t>(number)])
            changed.push_back(number);
    }
    if (!changed.empty())
        emit PicturesChanged(changed);
}
