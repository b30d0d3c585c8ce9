#pragma once
// Snapping a dragged selection: an edge or centre of the moved box comes to the
// screen's edges and centre lines, or to another element's edges and centres, when
// it passes within Reach skin pixels of one. Lines lie between pixels: x is the left
// side of column x, so a box's right edge is left + width.
#include <QPoint>
#include <QRect>

#include <optional>
#include <vector>

// The lines a snap holds to, for the canvas to draw as guides.
struct SnapGuides {
    std::optional<int> x; // a vertical line
    std::optional<int> y; // a horizontal line
    bool operator==(const SnapGuides&) const = default;
};

// A rectangle's centre as the renderer places a centred text: left + width / 2.
inline int CenterX(const QRect& r) { return r.left() + r.width() / 2; }
inline int CenterY(const QRect& r) { return r.top() + r.height() / 2; }

class SnapHelper {
public:
    static constexpr int Reach = 4;

    SnapHelper() = default;
    // box: the moved elements' drawn rectangles together; others: every other one.
    SnapHelper(QRect box, const std::vector<QRect>& others);

    // by, changed on each axis so that the nearest edge or centre of the box moved by
    // it lies on a line within Reach; guides (when given) receives those lines.
    QPoint Snapped(QPoint by, SnapGuides* guides = nullptr) const;

private:
    QRect box_;
    std::vector<int> xs_; // candidate vertical lines
    std::vector<int> ys_;
};
