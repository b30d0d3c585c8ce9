#pragma once
// The lines a gesture on the canvas moves, shown at once without a step: what each
// moved line held before the gesture, so that its end makes one step of them all or
// puts every line back.
#include "ElementSelection.h"
#include "LineComposer.h"
#include "SkinLines.h"
#include "SkinModel.h"
#include "SkinStep.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

class LiveGesture {
public:
    bool Empty() const { return before_.empty(); }

    // Composes every element's line before any is replaced, then puts them in place.
    // Returns the keys whose line changed and adds to replaced what each such line
    // held; throws the list error for a missing key.
    std::vector<std::string> Store(SkinLines& lines, const std::vector<std::pair<ElementRef, ItemValues>>& elements,
                                   std::vector<ReplacedLine>& replaced);
    // The gesture's edits of lines, each from before the gesture to now; the gesture
    // then holds nothing.
    std::vector<LineEdit> Take(const SkinLines& lines);
    // Puts every line back as it was before the gesture; returns the keys put back.
    std::vector<std::string> Restore(SkinLines& lines);
    void Forget() { before_.clear(); }

private:
    std::map<int, std::pair<std::string, std::string>> before_; // line index: key, bytes before the gesture
};
