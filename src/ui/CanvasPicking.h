#pragma once
// Which drawn element a click or a Tab on the canvas picks.
#include "CanvasFrame.h"
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

// kept (a Shift+drag adds to the selection) and then each element whose drawn
// rectangle lies wholly inside band (skin pixels), once, in draw order; without a
// band, every element drawn; with an empty one, only kept.
std::vector<ElementRef> SelectedByBand(const std::vector<DrawnElement>& drawn, std::optional<QRect> band,
                                       std::vector<ElementRef> kept);

// The selection with element added, or taken out when it was in it.
std::vector<ElementRef> Toggled(std::vector<ElementRef> selected, const ElementRef& element);

// What a press on the canvas leaves selected, and whether it drags the selection.
struct PressPick {
    std::vector<ElementRef> selected;
    std::optional<ElementRef> primary;
    bool mirrored = false; // the primary one is the right soft label
    bool drag = false;
};

// A press at skin pixel at: the picked element (with alt, the next one below the
// primary) alone, or the whole selection kept when it was in it; with shift, added
// to the selection or taken out (the last one left becomes the primary), no drag.
// Nothing there, or Background with shift: none, a selection rectangle starts.
std::optional<PressPick> PickOnPress(const std::vector<DrawnElement>& drawn, QPoint at,
                                     const std::vector<ElementRef>& selected, const std::optional<ElementRef>& primary,
                                     bool mirrored, bool shift, bool alt);

// The outlines of the selected elements, the primary one (mirrored as picked) apart.
void AddOutlines(CanvasOverlays& overlays, const std::vector<DrawnElement>& drawn,
                 const std::vector<ElementRef>& selected, const std::optional<ElementRef>& primary, bool mirrored);

// What a selection rectangle (none: Ctrl+A) leaves selected: SelectedByBand, the
// primary one kept when still selected, else the first; no primary when none.
PressPick PickInBand(const std::vector<DrawnElement>& drawn, std::optional<QRect> band,
                     const std::vector<ElementRef>& selected, const std::optional<ElementRef>& primary, bool mirrored,
                     bool adding);

// Edit › Select all where no canvas is open: every element drawn, the primary one
// kept when there is one.
void SelectAllDrawn(EditingSession& session);
