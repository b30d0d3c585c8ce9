#include "CanvasMoveTool.h"

#include "ElementValues.h"
#include "ItemValueMapping.h"

#include <cstdlib>

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
    if (!drag.moved.empty())
        drag_ = std::move(drag);
}

void CanvasMoveTool::Move(QPointF position, QPoint skinPoint, bool straight)
{
    if (!drag_)
        return;
    Drag& drag = *drag_;
    if (!drag.moving) {
        if ((position - drag.pressedAt).manhattanLength() < dragDistance_)
            return;
        drag.moving = true;
    }
    QPoint by = Offset(skinPoint - drag.pressedOver);
    if (straight) {
        if (std::abs(by.x()) >= std::abs(by.y()))
            by.setY(0);
        else
            by.setX(0);
    }
    if (by == drag.stored)
        return;
    drag.stored = by;
    for (const Moved& moved : drag.moved) {
        const ElementRef& element = moved.target.element;
        session_.StoreElementLive(element, MovedElementValues(element.category, element.key, moved.start, by.x(),
                                                              by.y(), moved.target.mirrored));
    }
}

void CanvasMoveTool::Release()
{
    const std::optional<Drag> drag = std::exchange(drag_, std::nullopt);
    if (!drag || !drag->moving)
        return;
    const std::string& key = drag->moved.front().target.element.key;
    session_.CommitLive(QStringLiteral("Move ") + QString::fromLatin1(key.data(), static_cast<qsizetype>(key.size())).trimmed());
}

void CanvasMoveTool::Cancel()
{
    const std::optional<Drag> drag = std::exchange(drag_, std::nullopt);
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
    for (const MoveTarget& target : targets) {
        const ElementRef& element = target.element;
        const ItemValues values = MovedElementValues(element.category, element.key,
                                                     ShownValues(session_.Document(), element), by.x(), by.y(),
                                                     target.mirrored);
        session_.StoreElement(element, values, NudgeControl);
    }
}
