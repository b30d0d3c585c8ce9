#include "ColorSwatch.h"

#include <QMouseEvent>
#include <QPainter>

ColorSwatch::ColorSwatch(int width, int height, QWidget* parent)
    : QWidget(parent), image_(width, height, QImage::Format_RGB32)
{
    image_.fill(Qt::black);
    setCursor(Qt::PointingHandCursor);
    setToolTip(QStringLiteral("Choose a colour"));
}

void ColorSwatch::Fill(RgbColor color)
{
    image_.fill(QColor(RedOf(color), GreenOf(color), BlueOf(color)));
    update();
}

void ColorSwatch::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.drawImage(0, 0, image_);
}

void ColorSwatch::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit Clicked();
    QWidget::mouseReleaseEvent(event);
}
