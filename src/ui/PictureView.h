#pragma once
// Shows a picture at its own size from the view's top-left corner: never scaled, cut
// off at the view's edges, its transparent pixels letting the background show.
#include <QImage>
#include <QWidget>

class PictureView : public QWidget {
public:
    explicit PictureView(QWidget* parent = nullptr) : QWidget(parent) {}

    void ShowPicture(const QImage& picture);
    const QImage& Shown() const { return shown_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage shown_;
};
