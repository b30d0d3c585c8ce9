#include "PictureView.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

namespace {

constexpr int CheckerCell = 4; // screen pixels, whatever the zoom

} // namespace

void PictureView::ShowPicture(const QImage& picture)
{
    shown_ = picture;
    FitSize();
    update();
}

void PictureView::SetZoom(int zoom)
{
    zoom_ = std::clamp(zoom, 1, MaxZoom);
    FitSize();
    update();
}

void PictureView::FitSize()
{
    // The picture enlarged; the scroll area around it shows the rest empty.
    if (!shown_.isNull())
        resize(shown_.size() * zoom_);
}

void PictureView::paintEvent(QPaintEvent* event)
{
    if (shown_.isNull())
        return;
    QPainter painter(this);
    const QRect picture(QPoint(0, 0), shown_.size() * zoom_);
    const QRect area = picture.intersected(event->rect());
    // Light and lighter grey squares: transparent pixels show as such, white ones too.
    for (int y = area.top() / CheckerCell * CheckerCell; checkerboard_ && y <= area.bottom(); y += CheckerCell)
        for (int x = area.left() / CheckerCell * CheckerCell; x <= area.right(); x += CheckerCell)
            painter.fillRect(QRect(x, y, CheckerCell, CheckerCell).intersected(picture),
                             ((x / CheckerCell + y / CheckerCell) % 2 == 0) ? QColor(204, 204, 204) : QColor(240, 240, 240));
    painter.drawImage(picture, shown_); // nearest neighbour: no smoothing is asked for
}
