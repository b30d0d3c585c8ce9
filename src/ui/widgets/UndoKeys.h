#pragma once
// Line edits and spin boxes keep an undo of their own on Ctrl+Z and Ctrl+Shift+Z.
// In the editor's fields the program's undo must win: a field-level undo would only
// change the text and write it back as a new edit. Installed on a field, this lets
// the undo and redo keys through to the window's shortcuts.
#include <QObject>

class QWidget;

class UndoKeys : public QObject {
    Q_OBJECT

public:
    // Watches field (and its inner line edit, for a spin box); field owns the filter.
    static void PassToWindow(QWidget* field);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QObject::QObject;
};
