#pragma once
// Reports every key pressed in a widget before the widget handles it, and every key
// released after the widget handled its press, also keys that change nothing (Shift,
// Home, arrows): the editor writes its controls back on both.
#include <QObject>

class QWidget;

class KeyNotifier : public QObject {
    Q_OBJECT

public:
    // Watches widget, which owns the notifier.
    explicit KeyNotifier(QWidget* widget);

signals:
    void KeyDown(int key, Qt::KeyboardModifiers shift);
    // Once per key, when it is let go: not for the repeats of a held key.
    void KeyUp(int key, Qt::KeyboardModifiers shift);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
