#include "CanvasPicking.h"

#include <algorithm>

std::vector<DrawnElement> ElementsAt(const std::vector<DrawnElement>& drawn, QPoint skinPoint)
{
    std::vector<DrawnElement> under;
    for (auto element = drawn.rbegin(); element != drawn.rend(); ++element)
        if (element->bounds.contains(skinPoint))
            under.push_back(*element);
    return under;
}

const DrawnElement& PickedElement(const std::vector<DrawnElement>& under, const std::optional<ElementRef>& selection,
                                  bool mirroredSelected, bool cycle)
{
    std::size_t pick = 0;
    for (std::size_t i = 0; cycle && selection && i < under.size(); ++i)
        if (Is(under[i], *selection) && under[i].mirrored == mirroredSelected)
            pick = (i + 1) % under.size();
    return under[pick];
}

std::optional<DrawnElement> SteppedElement(const std::vector<DrawnElement>& drawn,
                                           const std::optional<ElementRef>& selection, int step)
{
    std::vector<DrawnElement> order;
    for (const DrawnElement& element : drawn)
        if (std::none_of(order.begin(), order.end(), [&](const DrawnElement& o) { return Is(o, RefOf(element)); }))
            order.push_back(element);
    if (order.empty())
        return std::nullopt;
    const int count = static_cast<int>(order.size());
    int index = step > 0 ? 0 : count - 1;
    if (selection) {
        const auto found = std::find_if(order.begin(), order.end(), [&](const DrawnElement& o) { return Is(o, *selection); });
        if (found != order.end())
            index = (static_cast<int>(found - order.begin()) + step + count) % count;
    }
    return order[static_cast<std::size_t>(index)];
}

QString StatusText(const std::vector<DrawnElement>& drawn, QPoint skinPoint)
{
    QString text = QStringLiteral("%1, %2").arg(skinPoint.x()).arg(skinPoint.y());
    const std::vector<DrawnElement> under = ElementsAt(drawn, skinPoint);
    if (under.empty())
        return text;
    text += QStringLiteral("   ") + ElementName(under.front().key);
    return under.front().mirrored ? text + QStringLiteral(" (right)") : text;
}

std::vector<ElementRef> SelectedByBand(const std::vector<DrawnElement>& drawn, std::optional<QRect> band,
                                       std::vector<ElementRef> kept)
{
    for (const DrawnElement& element : drawn)
        if ((!band || (!band->isEmpty() && band->contains(element.bounds)))
            && std::find(kept.begin(), kept.end(), RefOf(element)) == kept.end())
            kept.push_back(RefOf(element));
    return kept;
}

std::vector<ElementRef> Toggled(std::vector<ElementRef> selected, const ElementRef& element)
{
    const auto found = std::find(selected.begin(), selected.end(), element);
    if (found == selected.end())
        selected.push_back(element);
    else
        selected.erase(found);
    return selected;
}

std::optional<PressPick> PickOnPress(const std::vector<DrawnElement>& drawn, QPoint at,
                                     const std::vector<ElementRef>& selected, const std::optional<ElementRef>& primary,
                                     bool mirrored, bool shift, bool alt)
{
    const std::vector<DrawnElement> under = ElementsAt(drawn, at);
    if (under.empty() || (shift && under.front().category == SkinCategory::Objects
                          && under.front().key == ObjectKeys[EdgeSizedObject]))
        return std::nullopt;
    const DrawnElement& picked = PickedElement(under, primary, mirrored, alt);
    const ElementRef ref = RefOf(picked);
    const bool was = std::find(selected.begin(), selected.end(), ref) != selected.end();
    if (!shift)
        return PressPick{was ? selected : std::vector<ElementRef>{ref}, ref, picked.mirrored, true};
    if (!was)
        return PressPick{Toggled(selected, ref), ref, picked.mirrored, false};
    PressPick pick{Toggled(selected, ref), std::nullopt, false, false};
    if (!pick.selected.empty())
        pick.primary = pick.selected.back();
    return pick;
}

void AddOutlines(CanvasOverlays& overlays, const std::vector<DrawnElement>& drawn,
                 const std::vector<ElementRef>& selected, const std::optional<ElementRef>& primary, bool mirrored)
{
    for (const DrawnElement& element : drawn) {
        if (std::none_of(selected.begin(), selected.end(), [&](const ElementRef& s) { return Is(element, s); }))
            continue;
        if (primary && Is(element, *primary) && element.mirrored == mirrored)
            overlays.primary = element.bounds;
        else
            overlays.selected.push_back(element.bounds);
    }
}

PressPick PickInBand(const std::vector<DrawnElement>& drawn, std::optional<QRect> band,
                     const std::vector<ElementRef>& selected, const std::optional<ElementRef>& primary, bool mirrored,
                     bool adding)
{
    PressPick pick{SelectedByBand(drawn, band, adding ? selected : std::vector<ElementRef>{}), primary, mirrored, false};
    if (!primary || std::find(pick.selected.begin(), pick.selected.end(), *primary) == pick.selected.end()) {
        pick.primary = pick.selected.empty() ? std::nullopt : std::optional(pick.selected.front());
        pick.mirrored = false;
    }
    return pick;
}

void SelectAllDrawn(EditingSession& session)
{
    const PressPick pick =
        PickInBand(session.DrawnElements(), std::nullopt, session.SelectedElements(), session.Selection(), false, false);
    if (!pick.selected.empty())
        session.SelectMany(pick.selected, pick.primary);
}
