#pragma once
// Which drawn element a click or a Tab on the canvas picks.
#include "EditingSession.h"

#include <optional>
#include <vector>

// The drawn elements under a skin pixel, topmost first.
std::vector<DrawnElement> ElementsAt(const std::vector<DrawnElement>& drawn, QPoint skinPoint);

// The element a click picks from under (not empty): the topmost; with cycle, the one
// below the selected one (mirrored as picked before), round again after the lowest.
const DrawnElement& PickedElement(const std::vector<DrawnElement>& under, const std::optional<ElementRef>& selection,
                                  bool mirroredSelected, bool cycle);

// The element step places from the selection in draw order, each element once,
// round again at either end; nothing when nothing is drawn.
std::optional<DrawnElement> SteppedElement(const std::vector<DrawnElement>& drawn,
                                           const std::optional<ElementRef>& selection, int step);

// The status bar's text for the cursor over skinPoint: the position and the topmost
// element there ("SoftLabel (right)" for the mirrored one).
QString StatusText(const std::vector<DrawnElement>& drawn, QPoint skinPoint);

inline ElementRef RefOf(const DrawnElement& element)
{
    return ElementRef{element.category, element.key};
}

inline bool Is(const DrawnElement& drawn, const ElementRef& element)
{
    return drawn.category == element.category && drawn.key == element.key;
}
