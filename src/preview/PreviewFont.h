#pragma once
// The one face the preview draws its texts in, shared with everything that must
// measure or label like the preview (the states sheet, its tests). Needs a
// QGuiApplication.
#include "SkinModel.h"

#include <QFont>
#include <QString>

// The preview's face and its default height: "size 0" draws at this pixel size.
inline constexpr const char* PreviewFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
inline constexpr const char* PreviewFontFallbackFamily = "DejaVu Sans";
inline constexpr int PreviewFontPixelSize = 11;

// The family of the preview's face. Loads DejaVu Sans (regular, bold, oblique and
// bold oblique) from fonts-dejavu-core by file on the first call; falls back to
// the family name when the files cannot be loaded.
QString PreviewFontFamily();

// The preview's face at a font size (0: the default 11 px; otherwise points at
// 96 dpi) with bold and italic from style. Never antialiased, fully hinted.
QFont PreviewFont(int size, FontStyleSet style);
