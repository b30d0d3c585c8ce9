#pragma once
// What the session's drawings of the open skin use and leave: the preview
// settings, the sample texts, the one surface every drawing paints over, the
// elements it painted and what it keeps for the next drawing. None of it belongs to
// the skin: no step of the history, never written into the skin, the working copy
// or the asset.
#include "PreviewCache.h"
#include "PreviewRenderer.h"

#include <QImage>

#include <optional>
#include <vector>

class PreviewState {
public:
    explicit PreviewState(const SkinDocument& document) : document_(document) {}

    const PreviewSettings& Settings() const { return settings_; }
    void SetSettings(const PreviewSettings& settings) { settings_ = settings; }

    // Until others are set they are the asset's lines, the document's LangLines.
    const TextLines& SampleTexts() const { return sampleTexts_ ? *sampleTexts_ : document_.LangLines; }
    // texts, or the asset's lines again when there are none; returns whether they changed.
    bool SetSampleTexts(std::optional<TextLines> texts);

    // Null until the first drawing.
    const QImage& Surface() const { return surface_; }
    // In draw order (last is topmost).
    const std::vector<DrawnElement>& DrawnElements() const { return drawn_; }
    PreviewCache& Cache() { return cache_; }

    // Paints the document's skin over the last drawing. Throws SkinError.
    void Draw();

private:
    const SkinDocument& document_;
    PreviewSettings settings_;
    std::optional<TextLines> sampleTexts_; // none: the asset's
    QImage surface_;
    std::vector<DrawnElement> drawn_;
    PreviewCache cache_;
};
