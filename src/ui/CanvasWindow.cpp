#include "CanvasWindow.h"

#include "CanvasArrange.h"
#include "CanvasView.h"
#include "EditingSession.h"
#include "ErrorReporter.h"
#include "HistoryActions.h"

#include <QAction>
#include <QFileInfo>
#include <QTimer>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>

#include <algorithm>

namespace {

constexpr const char* Group = "Canvas";

QVariant Remembered(const char* key, const QVariant& fallback)
{
    QSettings settings;
    settings.beginGroup(QString::fromLatin1(Group));
    return settings.value(QString::fromLatin1(key), fallback);
}

} // namespace

CanvasWindow::CanvasWindow(EditingSession& session, const ErrorReporter& errors, QWidget* parent)
    : QMainWindow(parent, Qt::Window)
{
    setObjectName(QStringLiteral("CanvasWindow"));
    ShowTitle(session);
    connect(&session, &EditingSession::Changed, this, [this, &session](const SkinChange& change) {
        if (change.opened)
            ShowTitle(session);
    });
    connect(&session, &EditingSession::SkinSaved, this, [this, &session] { ShowTitle(session); });
    view_ = new CanvasView(session, errors, this);
    setCentralWidget(view_);

    position_ = new QLabel(this);
    position_->setObjectName(QStringLiteral("CanvasPosition"));
    zoomLabel_ = new QLabel(this);
    zoomLabel_->setObjectName(QStringLiteral("CanvasZoom"));
    statusBar()->addWidget(position_, 1);
    statusBar()->addPermanentWidget(zoomLabel_);
    connect(view_, &CanvasView::StatusChanged, position_, &QLabel::setText);

    CreateMenu(session, errors);

    // A damaged entry gives the usual size; the screen bounds it when it is shown.
    QSize size = Remembered("size", QSize()).toSize();
    sizeRemembered_ = size.isValid() && !size.isEmpty();
    resize(sizeRemembered_ ? size : QSize(640, 600));
    const QVariant zoom = Remembered("zoom", QVariant());
    zoomRemembered_ = zoom.isValid();
    view_->SetZoom(zoomRemembered_ ? zoom.toInt() : 3);
    view_->SetGridShown(Remembered("grid", false).toBool());
    grid_->setChecked(view_->GridShown());
    snap_->setChecked(Remembered("snap", true).toBool());
    view_->Tool().SetSnapping(snap_->isChecked());
    ShowZoom(view_->Zoom());
    connect(view_, &CanvasView::ZoomChanged, this, [this](int zoom) {
        ShowZoom(zoom);
        Remember("zoom", zoom);
    });
    view_->setFocus();
}

void CanvasWindow::CreateMenu(EditingSession& session, const ErrorReporter& errors)
{
    QMenu* edit = menuBar()->addMenu(QStringLiteral("Edit"));
    // The session's history, as the main window's Edit menu runs it.
    AddHistoryActions(*edit, session, errors);
    edit->addSeparator();
    auto* selectAll = edit->addAction(QStringLiteral("Select all"));
    selectAll->setObjectName(QStringLiteral("SelectAll"));
    selectAll->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    connect(selectAll, &QAction::triggered, this, [this, &errors] { errors.Run([this] { view_->SelectAll(); }); });

    QMenu* view = menuBar()->addMenu(QStringLiteral("View"));
    const auto item = [&](const char* name, const QString& caption, const QList<QKeySequence>& keys) {
        auto* action = view->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcuts(keys);
        return action;
    };
    connect(item("ZoomIn", QStringLiteral("Zoom in"),
                 {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)}),
            &QAction::triggered, view_, &CanvasView::ZoomIn);
    connect(item("ZoomOut", QStringLiteral("Zoom out"), {QKeySequence(Qt::CTRL | Qt::Key_Minus)}), &QAction::triggered,
            view_, &CanvasView::ZoomOut);
    connect(item("ZoomFit", QStringLiteral("Largest zoom that fits"), {QKeySequence(Qt::CTRL | Qt::Key_0)}),
            &QAction::triggered, view_, &CanvasView::ZoomToFit);
    view->addSeparator();
    grid_ = item("PixelGrid", QStringLiteral("Pixel grid"), {QKeySequence(Qt::Key_G)});
    grid_->setCheckable(true);
    connect(grid_, &QAction::toggled, this, [this](bool shown) {
        view_->SetGridShown(shown);
        Remember("grid", shown);
    });
    snap_ = item("Snap", QStringLiteral("Snap"), {QKeySequence(Qt::Key_S)});
    snap_->setCheckable(true);
    connect(snap_, &QAction::toggled, this, [this](bool snapping) {
        view_->Tool().SetSnapping(snapping);
        Remember("snap", snapping);
    });
    CreateArrangeMenu(session, errors);
}

void CanvasWindow::CreateArrangeMenu(EditingSession& session, const ErrorReporter& errors)
{
    QMenu* menu = menuBar()->addMenu(QStringLiteral("Arrange"));
    QToolBar* bar = addToolBar(QStringLiteral("Arrange"));
    bar->setObjectName(QStringLiteral("ArrangeBar"));
    AddArrangeActions(*menu, bar, session, errors, [this] { return view_->SelectedTargets(); },
                      [this] { view_->Tool().Cancel(); });
}

bool CanvasWindow::WasOpen()
{
    return Remembered("open", false).toBool();
}

void CanvasWindow::Remember(const char* key, const QVariant& value) const
{
    QSettings settings;
    settings.beginGroup(QString::fromLatin1(Group));
    settings.setValue(QString::fromLatin1(key), value);
}

void CanvasWindow::ShowZoom(int zoom)
{
    zoomLabel_->setText(QStringLiteral("%1\u00d7").arg(zoom));
}

void CanvasWindow::ShowTitle(const EditingSession& session)
{
    const QString folder = session.SkinFolder();
    setWindowTitle(folder.isEmpty() ? QStringLiteral("Canvas") : QFileInfo(folder).fileName() + QStringLiteral(" - Canvas"));
}

QRect WindowBeside(const QRect& owner, QSize frame, const QRect& available)
{
    frame = frame.boundedTo(available.size());
    const auto inside = [&](QPoint topLeft) {
        topLeft.setX(std::clamp(topLeft.x(), available.left(), available.right() + 1 - frame.width()));
        topLeft.setY(std::clamp(topLeft.y(), available.top(), available.bottom() + 1 - frame.height()));
        return QRect(topLeft, frame);
    };
    const QRect right = inside({owner.right() + 1, owner.top()});
    if (!right.intersects(owner))
        return right;
    const QRect left = inside({owner.left() - frame.width(), owner.top()});
    if (!left.intersects(owner))
        return left;
    // No room on either side: on the side with more room, over part of the owner.
    const int roomRight = available.right() - owner.right();
    const int roomLeft = owner.left() - available.left();
    return roomRight >= roomLeft ? right : left;
}

void CanvasWindow::Place()
{
    const QWidget* owner = parentWidget();
    const QScreen* desktop = owner != nullptr ? owner->screen() : screen();
    if (desktop == nullptr)
        return;
    // The frame (title bar, borders) counts: a window whose frame leaves the screen is
    // cut off, whatever the size of its inside.
    const QSize margins = frameGeometry().size() - geometry().size();
    const QRect available = desktop->availableGeometry();
    QSize inside = size();
    if (!sizeRemembered_) {
        // The first time: most of the screen's height, for a zoom larger than 2x on a
        // common screen, and as wide as the skin's screen is in proportion.
        const int height = available.height() * 9 / 10 - margins.height();
        inside = inside.expandedTo(QSize(height * ScreenWidth / ScreenHeight, height));
    }
    const QRect owned = owner != nullptr ? owner->frameGeometry() : QRect();
    const QRect frame = WindowBeside(owned, inside + margins, available);
    // The remembered size stays as it was: on a larger screen it is whole again.
    placedSize_ = frame.size() - margins;
    resize(placedSize_);
    move(frame.topLeft());
    if (!zoomRemembered_) // the first time: the largest zoom at which the screen fits
        QTimer::singleShot(0, view_, &CanvasView::ZoomToFit);
}

void CanvasWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!placed_) {
        placed_ = true;
        Place();
    }
    Remember("open", true);
    emit OpenChanged(true);
}

void CanvasWindow::closeEvent(QCloseEvent* event)
{
    // Closed by the user: not reopened at the next start. When the program ends with
    // the canvas open, no close comes, and it reopens.
    Remember("open", false);
    QMainWindow::closeEvent(event);
    emit OpenChanged(false);
}

void CanvasWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    if (placed_ && isVisible() && size() != placedSize_)
        Remember("size", size());
}
