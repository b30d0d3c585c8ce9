#pragma once
// A white rectangle with a one-pixel black outline: the frame behind the preview.
#include <QWidget>

class ShapeFrame : public QWidget {
public:
    explicit ShapeFrame(QWidget* parent = nullptr) : QWidget(parent) {}

protected:
    void paintEvent(QPaintEvent* event) override;
};
