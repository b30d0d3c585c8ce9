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
    const std::string& key = under.front().key;
    text += QStringLiteral("   ") + QString::fromLatin1(key.data(), static_cast<qsizetype>(key.size())).trimmed();
    return under.front().mirrored ? text + QStringLiteral(" (right)") : text;
}
