#pragma once
// The colour swatch of the property editor: an image filled with one colour, shown
// at its own size, that reports a click (which opens the colour dialog).
#include "SkinNumbers.h"

#include <QImage>
#include <QWidget>

class ColorSwatch : public QWidget {
    Q_OBJECT

public:
    // The image has the given size from the start (black) and keeps it.
    ColorSwatch(int width, int height, QWidget* parent = nullptr);

    // Fills the whole image.
    void Fill(RgbColor color);
    const QImage& Image() const { return image_; }

signals:
    void Clicked(); // pressed and released inside it with the left button

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage image_;
};
