#pragma once
// The example skin "harbour" and the shipped assets, for the benchmarks.
#include "SkinDocument.h"

#include <QString>

#include <string>
#include <vector>

// examples/skins/harbour/Ruvex.rvk in the source tree.
QString ExampleSkinPath();

// A document as the editor holds it after opening the example skin: lines, model,
// the fifteen pictures, the status-line overlay and the sample texts.
SkinDocument LoadExampleDocument();

// The example skin's lines followed by count comment lines, so that every lookup
// of a key passes all of them.
std::vector<std::string> PaddedExampleLines(int count);
