#pragma once
// A recolouring of the open skin: as the steps that make it, and as an edition
// written into another folder.
#include "SkinColors.h"
#include "SkinDocument.h"
#include "SkinPictures.h"
#include "SkinStep.h"

#include <QString>

#include <string>
#include <vector>

struct RecolorEdits {
    std::vector<LineEdit> lines;
    std::vector<PictureEdit> pictures;
};

// What map changes in the description's colour words and in every picture's colour
// tables, each line and picture from now to recoloured; empty when it changes nothing.
RecolorEdits EditsOfRecolor(const SkinDocument& document, const SkinPictures& pictures, const ColorMap& map);

// Writes the skin recoloured by map into folder, all sixteen files as Save as writes
// them; returns what the user should be told. Refuses the working folder.
std::vector<std::string> WriteRecoloredSkin(const SkinDocument& document, const SkinPictures& pictures,
                                             const SkinWorkspace& workspace, const ColorMap& map,
                                             const QString& folder);
