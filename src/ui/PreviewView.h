#pragma once
// Shows the preview surface at its own size over whatever lies beneath it. Pixels in
// the surface's bottom-left colour are see-through, so the frame's white shows there.
#include <QImage>
#include <QWidget>

// The surface with every pixel of the key colour (the one at the bottom-left
// corner) made fully transparent. A null surface gives a null image.
QImage ColourKeyed(const QImage& surface);

class PreviewView : public QWidget {
public:
    explicit PreviewView(QWidget* parent = nullptr) : QWidget(parent) {}

    void ShowSurface(const QImage& surface);
    const QImage& Shown() const { return shown_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage shown_;
};
