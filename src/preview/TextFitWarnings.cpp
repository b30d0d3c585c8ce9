#include "TextFitWarnings.h"

#include "SampleTextSets.h"
#include "SkinError.h"
#include "SkinFormat.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace {

// The line of the sample text a drawn text showed; nothing for any other element.
std::optional<int> SampleLineOf(const DrawnElement& element)
{
    if (element.category != SkinCategory::Strings)
        return std::nullopt;
    if (element.mirrored)
        return SampleTextCount - 1;
    for (int i = 0; i < TextItemCount; ++i)
        if (element.key == TextItemKeys[static_cast<std::size_t>(i)])
            return i;
    return std::nullopt;
}

std::string Named(const std::string& key)
{
    return "\"" + KeyName(key) + "\"";
}

std::string QuotedText(const TextLines& langLines, int line)
{
    // A file of texts may hold any line: quoted as the checker quotes a word.
    const std::string text = static_cast<std::size_t>(line) < langLines.size()
                                 ? langLines[static_cast<std::size_t>(line)]
                                 : std::string();
    return "\"" + QuotedPart(text) + "\"";
}

// How the other text of an overlap is named: by its key, or as the right soft label
// (which SoftLabel's line places too).
std::string OtherName(const DrawnElement& element)
{
    return element.mirrored ? std::string("the right soft label") : Named(element.key);
}

struct DrawnText {
    const DrawnElement* element;
    int sampleLine;
};

} // namespace

std::vector<SkinProblem> TextFitWarnings(const std::vector<DrawnElement>& drawn, const SkinLines& lines,
                                         const TextLines& langLines)
{
    std::vector<DrawnText> texts;
    for (const DrawnElement& element : drawn)
        if (const std::optional<int> line = SampleLineOf(element))
            texts.push_back({&element, *line});

    const QRect screen(0, 0, ScreenWidth, ScreenHeight);
    std::vector<SkinProblem> warnings;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const DrawnElement& element = *texts[i].element;
        const QRect box = element.bounds;
        SkinProblem warning;
        warning.file = DescriptionFileName;
        warning.line = lines.FindKey(element.key) + 1; // 0 when the key has no line
        warning.category = SkinCategory::Strings;
        warning.key = element.key;
        const std::string subject = Named(element.key) + ": "
                                  + (element.mirrored ? "the right soft label's sample text " : "the sample text ")
                                  + QuotedText(langLines, texts[i].sampleLine);
        const auto warn = [&](const std::string& what) {
            warning.text = subject + " " + what;
            warnings.push_back(warning);
        };
        // 64 bits: a box may lie up to 2^24 pixels off the screen.
        const auto past = [&](std::int64_t pixels, const char* edge) {
            if (pixels > 0)
                warn("runs " + std::to_string(pixels) + " px past the " + edge + " edge of the screen");
        };
        past(std::int64_t{screen.left()} - box.left(), "left");
        past(std::int64_t{box.right()} - screen.right(), "right");
        past(std::int64_t{screen.top()} - box.top(), "top");
        past(std::int64_t{box.bottom()} - screen.bottom(), "bottom");
        for (std::size_t j = 0; j < i; ++j) {
            const QRect shared = box.intersected(texts[j].element->bounds);
            if (shared.isEmpty())
                continue;
            warn("overlaps " + OtherName(*texts[j].element) + " by "
                 + std::to_string(std::min(shared.width(), shared.height())) + " px");
        }
    }
    std::stable_sort(warnings.begin(), warnings.end(),
                     [](const SkinProblem& a, const SkinProblem& b) { return a.line < b.line; });
    return warnings;
}

std::string WarningLine(const SkinProblem& warning)
{
    SkinProblem marked = warning;
    marked.text = "warning: " + warning.text;
    return ProblemLine(marked);
}
