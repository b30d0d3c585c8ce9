#include "SkinStep.h"

#include <algorithm>

SkinStep::SkinStep(StepTarget& target, const QString& name, std::vector<LineEdit> lines,
                   std::vector<PictureEdit> pictures, std::optional<MergeKey> merge)
    : target_(target), lines_(std::move(lines)), pictures_(std::move(pictures)), merge_(std::move(merge))
{
    setText(name);
}

bool SkinStep::mergeWith(const QUndoCommand* other)
{
    const auto* next = dynamic_cast<const SkinStep*>(other);
    if (next == nullptr || !open_ || !merge_ || next->merge_ != merge_ || !pictures_.empty() || !next->pictures_.empty()) {
        open_ = false; // another kind of change came between: this one is done
        return false;
    }
    for (const LineEdit& edit : next->lines_) {
        const auto same = std::find_if(lines_.begin(), lines_.end(), [&](const LineEdit& e) { return e.index == edit.index; });
        if (same == lines_.end())
            lines_.push_back(edit);
        else
            same->after = edit.after;
    }
    if (namer_) // from the first value to the last ("X 88 → 101"), not the last keystroke
        setText(namer_(lines_));
    // Back where it started: no step at all.
    setObsolete(std::all_of(lines_.begin(), lines_.end(), [](const LineEdit& e) { return e.before == e.after; }));
    return true;
}

void SkinStep::SetNamer(Namer namer)
{
    namer_ = std::move(namer);
    if (namer_)
        setText(namer_(lines_));
}
