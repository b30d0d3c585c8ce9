#pragma once
// The sets of sample texts an author can preview a skin with, besides the ones the
// asset file holds: texts as long as a phone's music can make them, and as short.
// The preview draws whichever set is chosen; none of them is ever part of a skin.
#include "TextLines.h"

#include <array>

// How many sample texts the preview draws: one per text item, then the right soft label.
inline constexpr int SampleTextCount = 10;

// What each sample text is, in line order, as the editor's table names them.
inline constexpr std::array<const char*, SampleTextCount> SampleTextCaptions = {
    "Track number", "Playlist", "Artist", "Title", "Album",
    "Time", "Current time", "Elapsed time", "Left soft label", "Right soft label"};

enum class SampleTextSet { Shipped, Long, Short, Custom };

// "Shipped", "Long", "Short", "Custom".
const char* SampleTextSetName(SampleTextSet set);

// Each text as long as a real one can be: a 40-character title, a 30-character
// artist and album, "9999/9999", "-59:59".
const TextLines& LongSampleTexts();

// One character each; the times as "0:00".
const TextLines& ShortSampleTexts();
