#pragma once
// The window beside the main one that holds the canvas: its own View menu (zoom,
// pixel grid, snapping), Edit menu (the session's undo and redo, select all), Arrange
// menu with its tool bar, and a status bar with the cursor's skin position and the
// element under it. It remembers whether it was open, its size, its zoom, the grid
// and snapping (QSettings group "Canvas"). It opens beside its parent where the
// screen has room, always wholly inside the screen's available area, and the first
// time at the largest zoom that fits.
#include <QMainWindow>
#include <QRect>

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

signals:
    // Shown or closed: View › Canvas follows.
    void OpenChanged(bool open);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void CreateMenu(EditingSession& session, const ErrorReporter& errors);
    // Arrange menu and its tool bar: align to the primary element (one alone: to
    // the screen) and distribute, each one undo step.
    void CreateArrangeMenu(EditingSession& session, const ErrorReporter& errors);
    // Size and place on the first show, when the frame and the screen are known.
    void Place();
    void ShowTitle(const EditingSession& session);
    void Remember(const char* key, const QVariant& value) const;
    void ShowZoom(int zoom);

    CanvasView* view_ = nullptr;
    QLabel* position_ = nullptr;
    QLabel* zoomLabel_ = nullptr;
    QAction* grid_ = nullptr;
    QAction* snap_ = nullptr;
    bool placed_ = false;
    QSize placedSize_; // the size placing gave it, which is not the user's choice
    bool zoomRemembered_ = false;
    bool sizeRemembered_ = false;
};

// Where a window of frame size frame goes beside owner (the parent's frame): to its
// right, else to its left, else where it overlaps least, always inside available;
// a frame larger than available is made smaller. The frame's own top-left is returned
// with its size.
QRect WindowBeside(const QRect& owner, QSize frame, const QRect& available);
