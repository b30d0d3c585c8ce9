#pragma once
// Shows a picture from the view's top-left corner, enlarged by a whole-number zoom
// with sharp pixels, where it is transparent over what lies beneath or a checkerboard. The view takes the
// size of the picture enlarged, so that a scroll area around it can scroll.
#include <QImage>
#include <QWidget>

class PictureView : public QWidget {
public:
    static constexpr int MaxZoom = 8;

    explicit PictureView(QWidget* parent = nullptr) : QWidget(parent) {}

    void ShowPicture(const QImage& picture);
    const QImage& Shown() const { return shown_; }

    int Zoom() const { return zoom_; }
    // Kept within 1 to MaxZoom.
    void SetZoom(int zoom);
    // Whether transparent pixels show a checkerboard (else what lies beneath).
    void SetCheckerboard(bool shown) { checkerboard_ = shown; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void FitSize();

    QImage shown_;
    int zoom_ = 1;
    bool checkerboard_ = false;
};
