#pragma once
// The window beside the main one that holds the canvas: its own View menu (zoom and
// pixel grid), Edit menu (the session's undo and redo) and a status bar with the
// cursor's skin position and the element under it. It remembers whether it was
// open, its size, its zoom and the grid (QSettings group "Canvas").
#include <QMainWindow>

class CanvasView;
class EditingSession;
class ErrorReporter;
class QAction;
class QLabel;

class CanvasWindow : public QMainWindow {
    Q_OBJECT

public:
    // A window of its own above parent (it never keeps the program running).
    CanvasWindow(EditingSession& session, const ErrorReporter& errors, QWidget* parent = nullptr);

    CanvasView* View() const { return view_; }

    // Whether the canvas was open when the program last ran.
    static bool WasOpen();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void CreateMenu(EditingSession& session, const ErrorReporter& errors);
    void Remember(const char* key, const QVariant& value) const;
    void ShowZoom(int zoom);

    CanvasView* view_ = nullptr;
    QLabel* position_ = nullptr;
    QLabel* zoomLabel_ = nullptr;
    QAction* grid_ = nullptr;
};
