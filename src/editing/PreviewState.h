#pragma once
// What the session's drawings of the open skin use and leave: the preview
// settings, the sample texts, the one surface every drawing paints over, the
// elements it painted and what it keeps for the next drawing. None of it belongs to
// the skin: no step of the history, never written into the skin, the working copy
// or the asset.
#include "ColorMarking.h"
#include "PreviewCache.h"
#include "PreviewRenderer.h"
#include "SkinChange.h"
#include "SkinColors.h"

#include <QImage>

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

class PreviewState {
public:
    explicit PreviewState(const SkinDocument& document) : document_(document) {}

    const PreviewSettings& Settings() const { return settings_; }
    void SetSettings(const PreviewSettings& settings)
    {
        settings_ = settings;
        whole_ = false;
    }

    // Until others are set they are the asset's lines, the document's LangLines.
    const TextLines& SampleTexts() const { return sampleTexts_ ? *sampleTexts_ : document_.LangLines; }
    // texts, or the asset's lines again when there are none; returns whether they changed.
    bool SetSampleTexts(std::optional<TextLines> texts);

    // Null until the first drawing.
    const QImage& Surface() const { return surface_; }
    // The drawings made so far, and where the surface may differ from what it was after
    // drawing number since: the parts the drawings after it painted, or nothing when one
    // of them painted it whole or since is older than the few drawings remembered.
    std::uint64_t Drawings() const { return drawings_; }
    std::optional<std::vector<QRect>> ChangedSince(std::uint64_t since) const;
    // In draw order (last is topmost).
    const std::vector<DrawnElement>& DrawnElements() const { return drawn_; }
    PreviewCache& Cache() { return cache_; }

    // Draws, until set to nothing, the skin as map would recolour it.
    void SetColorPreview(std::optional<ColorMap> map);
    // The document as the drawings show it: recoloured while a colour preview is set.
    const SkinDocument& Shown() const { return shown_ ? *shown_ : document_; }
    // Marks a colour's uses over the last drawing until set to nothing; suspended
    // while a colour preview is set. Returns false when nothing was or is marked.
    bool Mark(std::optional<ColorUses> uses);
    // The last drawing with the marked colour's uses; nothing when none is marked.
    const std::optional<ColorMarking>& Marking() const { return marking_; }
    // Makes the marking from the marked uses and the last drawing.
    void UpdateMarking();

    // Paints the shown skin over the last drawing. Throws SkinError. After change,
    // when it touched only elements' lines, only where they were or are now is painted:
    // the pixels are those of a whole drawing.
    void Draw(const SkinChange* change = nullptr);
    // A change went undrawn: the next drawing paints everything.
    void Forget() { whole_ = false; }

private:
    // Makes shown_ the document recoloured by the colour preview, or nothing without one.
    void RecolorShown();

    const SkinDocument& document_;
    PreviewSettings settings_;
    std::optional<TextLines> sampleTexts_; // none: the asset's
    QImage surface_;
    std::vector<DrawnElement> drawn_;
    PreviewCache cache_;
    std::optional<ColorMap> colorPreview_;
    std::optional<SkinDocument> shown_; // the document recoloured by colorPreview_, at the last drawing
    std::optional<ColorUses> marked_;
    std::optional<ColorMarking> marking_;
    bool whole_ = false; // surface_ holds the whole drawing of what the settings and texts now are
    std::uint64_t drawings_ = 0;
    // What each of the last drawings painted, the latest last (nothing: all of it).
    std::deque<std::optional<std::vector<QRect>>> painted_;
};
