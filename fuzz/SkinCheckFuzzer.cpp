// The checker on any description file, with picture sizes chosen by the input: it
// returns problems in line order (those of no line first), each naming a line that
// exists, a repeated key at most once, and nothing but SkinError escapes.
#include "SkinFuzzSupport.h"

#include "SkinChecker.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    PictureSizes sizes;
    for (auto& picture : sizes) {
        const unsigned w = input.Take();
        if (w != 0)
            picture = QSize(static_cast<int>(w), static_cast<int>(input.Take()) + 1);
    }
    const TextLines lines = SplitTextLines(input.bytes);
    std::vector<SkinProblem> problems;
    try {
        problems = CheckDescription(lines, sizes);
    } catch (const SkinError&) {
        return 0;
    }
    int previous = 0;
    std::size_t repeated = 0;
    for (const SkinProblem& problem : problems) {
        FUZZ_REQUIRE(problem.file == "Ruvex.rvk");
        FUZZ_REQUIRE(!problem.text.empty());
        FUZZ_REQUIRE(problem.line >= previous && problem.line <= static_cast<int>(lines.size()));
        previous = problem.line;
        if (problem.text.find(" lines; only the last one (") != std::string::npos)
            ++repeated;
    }
    FUZZ_REQUIRE(repeated <= FuzzKeys().size());
    return 0;
}
