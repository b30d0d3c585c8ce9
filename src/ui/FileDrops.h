#pragma once
// What a drag from a file manager carries, as the editor's drop targets read it:
// one local file or folder, nothing else.
#include <QObject>
#include <QString>

#include <functional>

class QMimeData;
class QWidget;

// The one local file or folder the drag carries; empty when it carries anything
// else (several files, a web address, text).
QString DroppedPath(const QMimeData* data);

// The description file of the skin a drop names: a folder holding one, or the
// description file itself. Empty when the drop names no skin.
QString DroppedSkin(const QMimeData* data);

// The picture file a drop carries: a GIF or a kind Qt reads, by its name (any case);
// empty for anything else.
QString DroppedPicture(const QMimeData* data);

// Takes skin drops anywhere on window, before any of its controls sees them (a
// text field would take the path as text), and hands each dropped skin's
// description file to open. Owned by window; installs itself on the application.
// Other drops go on to the control under the cursor.
class SkinDropFilter : public QObject {
public:
    SkinDropFilter(QWidget* window, std::function<void(const QString&)> open);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    std::function<void(const QString&)> open_;
};
