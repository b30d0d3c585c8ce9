#include "KeyNotifier.h"

#include <QKeyEvent>
#include <QWidget>

KeyNotifier::KeyNotifier(QWidget* widget) : QObject(widget)
{
    widget->installEventFilter(this);
}

bool KeyNotifier::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        emit KeyDown(key->key(), key->modifiers());
    } else if (event->type() == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat())
            emit KeyUp(key->key(), key->modifiers());
    }
    return QObject::eventFilter(watched, event);
}
