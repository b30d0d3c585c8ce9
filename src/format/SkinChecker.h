#pragma once
// Finds the problems of a skin before a phone does: description lines that
// are missing, repeated, malformed or never read, pictures that are missing or do
// not decode, and elements that lie off the screen. Measures no text (that needs
// fonts), so a text is checked by its anchor point only.
#include "SkinDocument.h"
#include "SkinFormat.h"
#include "TextLines.h"

#include <QSize>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>


struct SkinProblem {
    std::string file; // "Ruvex.rvk" or a picture such as "7.gif"
    int line = 0;     // 1-based line of the description file; 0 when no line is meant
    std::string text; // 8-bit, as the file's own words are
    // Where the problem is, for a view that goes there: the element (empty key: none,
    // as for a line that belongs to no key), the field of its line when one field is
    // meant, or the picture number of "N.gif" (-1: none). Lines move; keys do not.
    SkinCategory category = SkinCategory::Strings;
    std::string key{};
    std::optional<FieldId> field{};
    int picture = -1;
    bool operator==(const SkinProblem&) const = default;
};

// "Ruvex.rvk:14: text", or "7.gif: text" for a problem without a line.
std::string ProblemLine(const SkinProblem& problem);

// Why a description file gave no line at all, as a problem line: "Ruvex.rvk: the file
// is empty" or "Ruvex.rvk:1: a NUL byte ends the text at its first byte"; empty when
// it gave a line. Every "no line for" follows from it.
std::string NoLineReason(const TextLines& lines, const std::optional<TextCut>& cut);

// The natural size of pictures 0.gif to 14.gif; empty where a picture is missing or
// does not decode (its elements are then not placed on the screen).
using PictureSizes = std::array<std::optional<QSize>, SkinPictureCount>;

// The problems of the description file's lines, in line order (problems that
// concern no line, such as a key without a line, come first).
std::vector<SkinProblem> CheckDescription(const TextLines& lines, const PictureSizes& sizes);

// The problems of 0.gif to 14.gif as they were found, in number order.
std::vector<SkinProblem> PictureProblems(const PictureFindings& found);

// The problems of a skin held in memory: its description file's bytes, then its
// pictures as they were found.
std::vector<SkinProblem> CheckSkin(std::string_view description, const PictureFindings& found);

// The problems of the open document as it is in memory: its lines now, and its
// pictures as the last load found them (SkinDocument::PictureFound), in the order
// CheckSkin gives. Nothing is open (no SkinFileName): none.
std::vector<SkinProblem> CheckDocument(const SkinDocument& document);
