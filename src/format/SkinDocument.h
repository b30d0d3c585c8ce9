#pragma once
// All state of the open skin: its description lines, the parsed model, the picture
// slots, the sample texts and whether a parse has ever run to its end.
#include "LineComposer.h"
#include "SkinLines.h"
#include "SkinModel.h"
#include "TextLines.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <string>

// Slots 0-14 hold "0.gif" to "14.gif"; the last one holds the status-line overlay.
inline constexpr int StatusLineSlot = 15;
inline constexpr int PictureSlotCount = 16;

using PictureSlots = std::array<QImage, PictureSlotCount>; // a null image is an empty slot

// What the last load found of one of "0.gif" to "14.gif".
struct PictureFinding {
    std::optional<QSize> size; // when it decoded
    std::string problem;       // why not, in check's words; empty when it decoded
    // The opened skin has no such picture: the working copy's earlier one is used.
    bool borrowed = false;
};
using PictureFindings = std::array<PictureFinding, SkinPictureCount>;

// "N.gif" for a picture number.
QString PictureFileName(int number);
// The sixteen file names of a skin in the order errors name them: the description
// file, then the pictures.
QStringList SkinFileNames();
// Whether name is one of them, spelled exactly.
bool IsSkinFileName(const QString& name);

class SkinDocument {
public:
    SkinLines Lines;
    TSkinModel Model;
    PictureSlots Pictures;
    TextLines LangLines;
    // Per picture, what the last LoadSkin found in the folder, so the skin can be
    // checked without reading the folder again. A load that stops at a picture
    // still looks at the pictures after it; their slots keep what they held.
    PictureFindings PictureFound;
    // Where a NUL byte ended the description file the last LoadSkin read, if it did.
    std::optional<TextCut> DescriptionCut;
    QString SkinFileName;     // the working copy's description file; empty before an Open
    bool SkinLoaded = false;

    // Fills the model; sets SkinLoaded only when every step succeeded.
    void ParseSkin();

    // Replaces the key's line with one composed from values, then parses again.
    void StoreItem(SkinCategory category, const std::string& key, const ItemValues& values);

    TSkiStr ReadSkiStr(const std::string& key) const { return ::ReadSkiStr(Lines, key); }
    TSkiObject ReadSkiObject(const std::string& key) const { return ::ReadSkiObject(Lines, key); }
    void ReadPicturePos(const std::string& key, TPicturePos& position) const { ::ReadPicturePos(Lines, key, position); }
    std::string SkinValue(const std::string& key, std::size_t n) const { return Lines.Value(key, n); }
};
