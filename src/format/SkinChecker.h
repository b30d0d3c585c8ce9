#pragma once
// Finds the problems of a skin before a phone does: description lines that
// are missing, repeated, malformed or never read, pictures that are missing or do
// not decode, and elements that lie off the screen. Measures no text (that needs
// fonts), so a text is checked by its anchor point only.
#include "SkinDocument.h"
#include "SkinFormat.h"
#include "SkinProblem.h"
#include "TextLines.h"

#include <QSize>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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
