#pragma once
// Paints the phone screen of a skin onto a 176×220 image: the one renderer used by
// the editor's preview and by vellumark-skin. Knows nothing of windows.
#include "SkinDocument.h"

#include <QImage>


// The four preview settings, as the main window's controls hold them.
struct PreviewSettings {
    int playState = 1;        // 0 Backward, 1 Play, 2 Pause, 3 Stop, 4 Forward, -1 none
    int repetition = 0;       // 0 Repetition-One, anything else Repetition-All
    bool volumeShown = false;
    int volumeLevel = 2;
};

// A fresh surface: 176×220, RGB32, all white.
QImage NewPreviewSurface();

// Repaints every element of the skin over what surface already holds.
// Throws SkinError only for failures the caller must report.
void DrawPreview(QImage& surface, const TSkinModel& model, const PictureSlots& pictures,
                 const TextLines& langLines, const PreviewSettings& settings);

// The same for the open skin of document.
void DrawPreview(QImage& surface, const SkinDocument& document, const PreviewSettings& settings);
