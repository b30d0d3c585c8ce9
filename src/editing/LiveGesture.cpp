#include "LiveGesture.h"

#include "SkinError.h"

std::vector<std::string> LiveGesture::Store(SkinLines& lines,
                                            const std::vector<std::pair<ElementRef, ItemValues>>& elements,
                                            std::vector<ReplacedLine>& replaced)
{
    std::vector<std::string> composed;
    for (const auto& [element, values] : elements) {
        if (lines.FindKey(element.key) < 0)
            ThrowListIndexError(-1);
        composed.push_back(ComposeItemLine(element.category, element.key, values));
    }
    std::vector<std::string> changed;
    for (std::size_t i = 0; i < composed.size(); ++i) {
        const std::string& key = elements[i].first.key;
        const int index = lines.FindKey(key);
        const std::string& current = lines.Line(index);
        before_.try_emplace(index, key, current);
        if (current == composed[i])
            continue;
        replaced.push_back({index, current});
        lines.Replace(index, std::move(composed[i]));
        changed.push_back(key);
    }
    return changed;
}

std::vector<LineEdit> LiveGesture::Take(const SkinLines& lines)
{
    std::vector<LineEdit> edits;
    for (const auto& [index, before] : before_)
        if (lines.Line(index) != before.second)
            edits.push_back({index, before.first, before.second, lines.Line(index)});
    before_.clear();
    return edits;
}

std::vector<std::string> LiveGesture::Restore(SkinLines& lines)
{
    std::vector<std::string> restored;
    for (const auto& [index, before] : before_) {
        if (lines.Line(index) == before.second)
            continue;
        lines.Replace(index, before.second);
        restored.push_back(before.first);
    }
    before_.clear();
    return restored;
}
