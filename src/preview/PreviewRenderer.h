#pragma once
// Paints the phone screen of a skin onto a 176×220 image: the one renderer used by
// the editor's preview and by vellumark-skin. Knows nothing of windows.
#include "SkinDocument.h"

#include <QImage>
#include <QRect>

#include <string>
#include <vector>

class PreviewCache;

// The four preview settings, as the main window's controls hold them.
struct PreviewSettings {
    int playState = 1;        // 0 Backward, 1 Play, 2 Pause, 3 Stop, 4 Forward, -1 none
    int repetition = 0;       // 0 Repetition-One, anything else Repetition-All
    bool volumeShown = false;
    int volumeLevel = 2;
};

// A fresh surface: 176×220, RGB32, all white.
QImage NewPreviewSurface();

// An element as a drawing placed it, in skin pixels: a text's box after anchoring, a
// picture's rectangle at its position, an object's rectangle. The box may lie partly or
// wholly off the surface (coordinates are limited to +-2^24). The right soft label is
// SoftLabel's text drawn mirrored: it carries SoftLabel's key and mirrored set.
struct DrawnElement {
    SkinCategory category = SkinCategory::Strings;
    std::string key;
    QRect bounds;
    bool mirrored = false;
    int picture = -1; // a picture element: the N of the "N.gif" it showed
    // Where its pixels may lie: its bounds, for a text where its glyphs paint when the
    // drawing's cache measured them, else a cell height round its cell. Not compared:
    // how closely it is known is the drawing's, not the element's.
    QRect painted = {};
    bool operator==(const DrawnElement& other) const
    {
        return category == other.category && key == other.key && bounds == other.bounds && mirrored == other.mirrored
            && picture == other.picture;
    }
};

// Repaints every element of the skin over what surface already holds. When drawn is
// given, it receives the elements painted, in draw order (last is topmost); elements
// the settings leave out, empty texts, missing pictures and empty rectangles are not
// listed. With a cache, texts and faces met before are drawn from it and new ones
// kept there; the pixels are the same as without. With a clip (rectangles, best apart
// from one another: others are cut into pieces), only the pixels inside it are
// painted, as they would be without it, and only the elements that reach it cost
// anything; an empty clip lists the elements and paints nothing. Throws SkinError only
// for failures the caller must report.
void DrawPreview(QImage& surface, const TSkinModel& model, const PictureSlots& pictures,
                 const TextLines& langLines, const PreviewSettings& settings,
                 std::vector<DrawnElement>* drawn = nullptr, PreviewCache* cache = nullptr,
                 const std::vector<QRect>* clip = nullptr);

// The same for the open skin of document.
void DrawPreview(QImage& surface, const SkinDocument& document, const PreviewSettings& settings,
                 std::vector<DrawnElement>* drawn = nullptr, PreviewCache* cache = nullptr);
