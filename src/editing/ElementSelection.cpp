#include "ElementSelection.h"

#include <algorithm>

bool ElementSelection::Set(std::vector<ElementRef> elements, const std::optional<ElementRef>& primary, bool mirrored)
{
    std::vector<ElementRef> selected;
    if (primary)
        selected.push_back(*primary);
    for (ElementRef& element : elements)
        if (primary && std::find(selected.begin(), selected.end(), element) == selected.end())
            selected.push_back(std::move(element));
    mirrored = mirrored && primary.has_value();
    if (primary_ == primary && elements_ == selected && mirrored_ == mirrored)
        return false;
    primary_ = primary;
    elements_ = std::move(selected);
    mirrored_ = mirrored;
    return true;
}
