#include "FileDrops.h"

#include "FilePaths.h"
#include "PictureImport.h"
#include "SkinFormat.h"

#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

QString DroppedPath(const QMimeData* data)
{
    if (data == nullptr || !data->hasUrls())
        return {};
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile())
        return {};
    return urls.front().toLocalFile();
}

QString DroppedSkin(const QMimeData* data)
{
    const QString path = DroppedPath(data);
    if (path.isEmpty())
        return {};
    const QFileInfo info(path);
    const QString description = QString::fromLatin1(DescriptionFileName);
    if (info.isDir()) {
        const QString file = SkinPathOf(path).description;
        return QFileInfo(file).isFile() ? file : QString();
    }
    // The names the Open dialog offers.
    return info.isFile() && info.fileName().compare(description, Qt::CaseInsensitive) == 0 ? path : QString();
}

QString DroppedPicture(const QMimeData* data)
{
    const QString path = DroppedPath(data);
    return !path.isEmpty() && !QFileInfo(path).isDir() && HasPictureSuffix(path) ? path : QString();
}

SkinDropFilter::SkinDropFilter(QWidget* window, std::function<void(const QString&)> open)
    : QObject(window), window_(window), open_(std::move(open))
{
    window_->setAcceptDrops(true);
    QCoreApplication::instance()->installEventFilter(this);
}

bool SkinDropFilter::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    if (!watched->isWidgetType() || static_cast<QWidget*>(watched)->window() != window_)
        return false;
    switch (type) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        if (DroppedSkin(drag->mimeData()).isEmpty())
            return false;
        drag->setDropAction(Qt::CopyAction);
        drag->accept();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QString skin = DroppedSkin(drop->mimeData());
        if (skin.isEmpty())
            return false;
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        open_(skin);
        return true;
    }
    default: return false;
    }
}
