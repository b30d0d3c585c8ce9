#include "PictureView.h"

#include <QPainter>

void PictureView::ShowPicture(const QImage& picture)
{
    shown_ = picture;
    update();
}

void PictureView::paintEvent(QPaintEvent* /*event*/)
{
    if (shown_.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(0, 0, shown_);
}
