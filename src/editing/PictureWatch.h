#pragma once
// Watches the pictures of the working copy for changes made by other programs.
// Paint programs save by writing a new file and renaming it over the old one,
// which ends a watch on the file: the folder is watched too, and every file is
// watched again after each change. A burst of changes settles for SettleMs before
// the files are compared with the bytes last known; what the editor writes itself
// it acknowledges, so only a difference made elsewhere is reported.
#include "SkinFormat.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

#include <array>
#include <optional>
#include <string>
#include <vector>

class PictureWatch : public QObject {
    Q_OBJECT

public:
    static constexpr int SettleMs = 300;

    explicit PictureWatch(QObject* parent = nullptr);

    // Watches folder's pictures (folder ends in a separator), taking what they hold
    // now as known. An empty folder stops watching.
    void Watch(const QString& folder);
    // Picture number holds what the editor wrote: known, whatever it is now.
    void Acknowledge(int number);
    // The bytes last known of picture number; nothing when there was no file.
    const std::optional<std::string>& Known(int number) const;
    QString PictureFile(int number) const;

signals:
    // Pictures whose file now differs from what was known, after a burst settled.
    // A picture whose file is gone is not reported: there is nothing to take.
    void PicturesChanged(const std::vector<int>& numbers);

private:
    void Settled();
    void WatchAgain();
    static std::optional<std::string> Current(const QString& file);

    QFileSystemWatcher watcher_;
    QTimer settle_;
    QString folder_;
    std::array<std::optional<std::string>, SkinPictureCount> known_;
};
