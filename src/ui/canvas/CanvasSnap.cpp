#include "CanvasSnap.h"

#include "SkinFormat.h"

#include <cstdlib>

namespace {

// The shift within reach that puts one of features (moved by `by`) on the nearest of
// lines, and that line.
std::optional<std::pair<int, int>> Nearest(const int (&features)[3], int by, const std::vector<int>& lines)
{
    std::optional<std::pair<int, int>> best;
    for (const int line : lines)
        for (const int feature : features) {
            const int shift = line - (feature + by);
            if (std::abs(shift) <= SnapHelper::Reach && (!best || std::abs(shift) < std::abs(best->first)))
                best = std::pair{shift, line};
        }
    return best;
}

} // namespace

SnapHelper::SnapHelper(QRect box, const std::vector<QRect>& others) : box_(box)
{
    xs_ = {0, ScreenWidth / 2, ScreenWidth};
    ys_ = {0, ScreenHeight / 2, ScreenHeight};
    for (const QRect& other : others) {
        xs_.insert(xs_.end(), {other.left(), CenterX(other), other.left() + other.width()});
        ys_.insert(ys_.end(), {other.top(), CenterY(other), other.top() + other.height()});
    }
}

QPoint SnapHelper::Snapped(QPoint by, SnapGuides* guides) const
{
    SnapGuides held;
    if (!box_.isEmpty()) {
        const int xs[3] = {box_.left(), CenterX(box_), box_.left() + box_.width()};
        const int ys[3] = {box_.top(), CenterY(box_), box_.top() + box_.height()};
        if (const auto x = Nearest(xs, by.x(), xs_)) {
            by.rx() += x->first;
            held.x = x->second;
        }
        if (const auto y = Nearest(ys, by.y(), ys_)) {
            by.ry() += y->first;
            held.y = y->second;
        }
    }
    if (guides != nullptr)
        *guides = held;
    return by;
}
