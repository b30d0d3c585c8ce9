#include "CanvasMoveTool.h"

#include "CanvasPicking.h"
#include "ElementValues.h"
#include "ItemValueMapping.h"

#include <algorithm>
#include <cstdlib>

namespace {

bool Matches(const DrawnElement& drawn, const MoveTarget& target)
{
    return Is(drawn, target.element, target.mirrored);
}

} // namespace

QString StepName(const QString& verb, const std::vector<ElementRef>& elements)
{
    if (elements.size() != 1)
        return QStringLiteral("%1 %2 elements").arg(verb).arg(elements.size());
    return verb + ' ' + ElementName(elements.front().key);
}

ItemValues ShownValues(const SkinDocument& document, const ElementRef& element)
{
    ItemValues values = ReadElementValues(document.Lines, element.category, element.key);
    if (element.category == SkinCategory::Strings) {
        const ListedCodes codes = CodesAsListed(values.Anchor, values.FontId, values.StyleCode);
        values.Anchor = codes.anchor;
        values.FontId = codes.fontId;
        values.StyleCode = codes.styleCode;
    }
    return values;
}

CanvasMoveTool::CanvasMoveTool(EditingSession& session, int dragDistance)
    : session_(session), dragDistance_(dragDistance)
{
}

void CanvasMoveTool::Press(std::vector<MoveTarget> targets, QPointF position, QPoint skinPoint)
{
    Cancel();
    Drag drag;
    drag.pressedAt = position;
    drag.pressedOver = skinPoint;
    for (MoveTarget& target : targets)
        if (session_.Document().Lines.FindKey(target.element.key) >= 0) // nothing to drag without a line
            drag.moved.push_back(Moved{target, ShownValues(session_.Document(), target.element)});
    if (drag.moved.empty())
        return;
    // Snapping measures what is drawn: the targets' rectangles against every element
    // not moved (a soft label moves both of its sides).
    QRect box;
    std::vector<QRect> others;
    for (const DrawnElement& drawn : session_.DrawnElements()) {
        const auto moves = [&](const Moved& m) { return Is(drawn, m.target.element); };
        if (std::none_of(drag.moved.begin(), drag.moved.end(), moves))
            others.push_back(drawn.bounds);
        else if (std::any_of(drag.moved.begin(), drag.moved.end(), [&](const Moved& m) { return Matches(drawn, m.target); }))
            box |= drawn.bounds;
    }
    drag.snap = SnapHelper(box, others);
    drag_ = std::move(drag);
}

QPoint CanvasMoveTool::Offset(QPoint by, bool straight, bool free)
{
    if (straight) {
        if (std::abs(by.x()) >= std::abs(by.y()))
            by.setY(0);
        else
            by.setX(0);
    }
    guides_ = {};
    if (!snapping_ || free)
        return by;
    SnapGuides guides;
    const QPoint snapped = drag_->snap.Snapped(by, &guides);
    // A straight move keeps its other axis still.
    if (!straight || by.x() != 0) {
        by.setX(snapped.x());
        guides_.x = guides.x;
    }
    if (!straight || by.y() != 0) {
        by.setY(snapped.y());
        guides_.y = guides.y;
    }
    return by;
}

void CanvasMoveTool::Store(const std::vector<Moved>& moved, QPoint by)
{
    std::vector<std::pair<ElementRef, ItemValues>> values;
    for (const Moved& m : moved) {
        const ElementRef& element = m.target.element;
        values.emplace_back(element, MovedElementValues(element.category, element.key, m.start, by.x(), by.y(),
                                                        m.target.mirrored));
    }
    session_.StoreElementsLive(values);
}

void CanvasMoveTool::Move(QPointF position, QPoint skinPoint, bool straight, bool free)
{
    if (!drag_)
        return;
    Drag& drag = *drag_;
    if (!drag.moving) {
        if ((position - drag.pressedAt).manhattanLength() < dragDistance_)
            return;
        drag.moving = true;
    }
    const QPoint by = Offset(skinPoint - drag.pressedOver, straight, free);
    if (by == drag.stored)
        return;
    drag.stored = by;
    Store(drag.moved, by);
}

void CanvasMoveTool::Release()
{
    const std::optional<Drag> drag = std::exchange(drag_, std::nullopt);
    guides_ = {};
    if (!drag || !drag->moving)
        return;
    std::vector<ElementRef> elements;
    for (const Moved& moved : drag->moved)
        elements.push_back(moved.target.element);
    session_.CommitLive(StepName(QStringLiteral("Move"), elements));
}

void CanvasMoveTool::Cancel()
{
    const std::optional<Drag> drag = std::exchange(drag_, std::nullopt);
    guides_ = {};
    if (drag && drag->moving)
        session_.CancelLive();
}

void CanvasMoveTool::Nudge(const std::vector<MoveTarget>& targets, QPoint by)
{
    if (targets.empty() || drag_)
        return;
    std::vector<ElementRef> elements;
    for (const MoveTarget& target : targets)
        elements.push_back(target.element);
    if (nudged_ != elements || !lastNudge_.isValid() || lastNudge_.elapsed() >= NudgeMergeMs)
        session_.Commit(); // a pause ends a burst of nudges
    nudged_ = std::move(elements);
    lastNudge_.start();
    if (targets.size() == 1) {
        const ElementRef& element = targets.front().element;
        const ItemValues values = MovedElementValues(element.category, element.key,
                                                     ShownValues(session_.Document(), element), by.x(), by.y(),
                                                     targets.front().mirrored);
        session_.StoreElement(element, values, MergeControl::Nudge);
        return;
    }
    // Several lines as one step that takes in the burst's next nudges.
    std::vector<Moved> moved;
    std::string keys;
    for (const MoveTarget& target : targets) {
        if (session_.Document().Lines.FindKey(target.element.key) < 0)
            continue;
        moved.push_back(Moved{target, ShownValues(session_.Document(), target.element)});
        keys += target.element.key + ' ';
    }
    if (moved.empty())
        return;
    Store(moved, by);
    session_.CommitLive(StepName(QStringLiteral("Move"), nudged_), MergeKey{keys, MergeControl::Nudge});
}
