#include "ColorSwatch.h"

#include <QMouseEvent>
#include <QPainter>

ColorSwatch::ColorSwatch(int width, int height, QWidget* parent)
    : QWidget(parent), image_(width, height, QImage::Format_RGB32)
{
    image_.fill(Qt::black);
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

void ColorSwatch::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit DoubleClicked();
    QWidget::mouseDoubleClickEvent(event);
}
