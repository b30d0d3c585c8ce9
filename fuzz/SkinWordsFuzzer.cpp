// The word functions and the line lookup on any bytes: every value word of every key
// and the remembered line of each key, before and after replacing lines. Only
// SkinError may escape; the invariants below hold for any input.
#include "SkinFuzzSupport.h"

#include "ExWord.h"

#include <cstdint>
#include <optional>

namespace {

// Words of any text: each lies where WordStart says, holds no delimiter, starts
// after the previous one, and once one is missing every later one is too. (Each
// call scans the text from its start: a few words keep the target fast.)
void CheckWords(std::string_view text)
{
    std::size_t previous = 0;
    bool missing = false;
    for (std::size_t n = 0; n <= 4; ++n) {
        const std::size_t start = WordStart(n, text, SkinDelimiters());
        const std::string word = WordAt(n, text, SkinDelimiters());
        if (n == 0) {
            FUZZ_REQUIRE(start == 0 && word.empty());
            continue;
        }
        FUZZ_REQUIRE((start == 0) == word.empty());
        FUZZ_REQUIRE(!missing || start == 0);
        missing = start == 0;
        if (missing)
            continue;
        FUZZ_REQUIRE(start > previous && start <= text.size());
        FUZZ_REQUIRE(text.substr(start - 1, word.size()) == word);
        FUZZ_REQUIRE(!HasDelimiter(word));
        FUZZ_REQUIRE(start - 1 + word.size() == text.size()
                     || SkinDelimiters().test(static_cast<unsigned char>(text[start - 1 + word.size()])));
        previous = start;
    }
}

// Value words: each lies in the key's line, and a key without a line throws the
// list error (tried for the first such key only: exceptions are slow under the
// sanitizers, and each key takes the same path).
void CheckValues(const SkinLines& lines)
{
    bool missingTried = false;
    for (const auto& key : FuzzKeys()) {
        const int index = lines.FindKey(key);
        FUZZ_REQUIRE(index >= -1 && index < lines.Count());
        if (index >= 0) {
            FUZZ_REQUIRE(LineBelongsToKey(lines.Line(index), key));
            for (int later = index + 1; later < lines.Count(); ++later)
                FUZZ_REQUIRE(!LineBelongsToKey(lines.Line(later), key));
        }
        if (index < 0) {
            if (missingTried)
                continue;
            missingTried = true;
        }
        for (std::size_t n = 1; n <= 3; ++n) {
            std::optional<std::string> word;
            try {
                word = lines.Value(key, n);
            } catch (const SkinError&) {
            }
            FUZZ_REQUIRE(word.has_value() == (index >= 0));
            if (!word)
                break;
            FUZZ_REQUIRE(lines.Line(index).find(*word) != std::string::npos);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    const unsigned replacements = input.Take() % 8;
    CheckWords(input.bytes.substr(0, 256));

    SkinLines lines(SplitTextLines(input.bytes));
    for (const auto& line : lines.Lines())
        CheckWords(ValueText(line));
    CheckValues(lines);

    // Replacements with any text (one line put in place of another, chosen by the
    // input) keep every key's remembered line the one a fresh lookup finds.
    const int count = lines.Count();
    for (unsigned i = 0; i < replacements && count > 0; ++i) {
        const int target = input.Take() % count;
        const int source = input.Take() % count;
        lines.Replace(target, std::string(lines.Line(source)));
    }
    FUZZ_REQUIRE(FoundLines(lines) == FoundLines(SkinLines(lines.Lines())));
    CheckValues(lines);
    return 0;
}
