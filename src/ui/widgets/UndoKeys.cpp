#include "UndoKeys.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QWidget>

void UndoKeys::PassToWindow(QWidget* field)
{
    auto* filter = new UndoKeys(field);
    field->installEventFilter(filter);
    for (QLineEdit* inner : field->findChildren<QLineEdit*>())
        inner->installEventFilter(filter);
}

bool UndoKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QKeyCombination combination = key->keyCombination();
        const bool undoKey = key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo)
                             || combination == QKeyCombination(Qt::ControlModifier, Qt::Key_Y)
                             || combination == QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z);
        if (undoKey) {
            // Not accepted as an override: the shortcut runs. A press that still
            // arrives is dropped rather than undone by the field.
            event->ignore();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
