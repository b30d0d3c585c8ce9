#pragma once
// Where a skin's texts would not fit on the phone: with the sample texts the preview
// drew, a text that runs past an edge of the screen or over the text of another
// text item. Found from the rectangles the drawing reported (DrawnElement), so the
// warnings say exactly what the preview shows; the Problems page and
// vellumark-skin check both list them.
#include "PreviewRenderer.h"
#include "SkinProblem.h"
#include "SkinLines.h"

#include <string>
#include <vector>

// The warnings of one drawing, in line order: for each drawn text, each screen edge
// it crosses, then each text drawn before it that it overlaps (a pair is told once,
// at the text drawn later). Each names the text item's line and key, so a view can
// go there as it goes to a problem. langLines are the texts the drawing used.
//   "Artist": the sample text "..." runs 12 px past the right edge of the screen
//   "Title": the sample text "..." overlaps "Artist" by 3 px
// An overlap's width is the smaller side of the shared rectangle: how far one of the
// two must move to clear the other.
std::vector<SkinProblem> TextFitWarnings(const std::vector<DrawnElement>& drawn, const SkinLines& lines,
                                         const TextLines& langLines);

// "Ruvex.rvk:7: warning: " and the warning's text, as check prints it.
std::string WarningLine(const SkinProblem& warning);
