#include "PreviewState.h"

bool PreviewState::SetSampleTexts(std::optional<TextLines> texts)
{
    if (texts == sampleTexts_)
        return false;
    sampleTexts_ = std::move(texts);
    return true;
}

void PreviewState::Draw()
{
    drawn_.clear();
    RecolorShown();
    const SkinDocument& shown = Shown();
    DrawPreview(surface_, shown.Model, shown.Pictures, SampleTexts(), settings_, &drawn_, &cache_);
    UpdateMarking();
}

void PreviewState::SetColorPreview(std::optional<ColorMap> map)
{
    colorPreview_ = std::move(map);
    shown_.reset();
}

bool PreviewState::Mark(std::optional<ColorUses> uses)
{
    if (!uses && !marked_)
        return false;
    marked_ = std::move(uses);
    UpdateMarking();
    return true;
}

void PreviewState::UpdateMarking()
{
    marking_.reset();
    if (marked_ && !colorPreview_ && !surface_.isNull())
        marking_ = MarkColor(*marked_, surface_, drawn_, document_.Pictures);
}

void PreviewState::RecolorShown()
{
    shown_.reset();
    if (!colorPreview_)
        return;
    SkinDocument shown = document_;
    for (RecoloredLine& line : RecolorLines(shown.Lines, *colorPreview_))
        shown.Lines.Replace(line.index, std::move(line.text));
    // Only colours change, so the lines parse as they did.
    shown.ParseSkin();
    for (int number = 0; number < SkinPictureCount; ++number) {
        QImage& picture = shown.Pictures[static_cast<std::size_t>(number)];
        picture = RecolorImage(picture, *colorPreview_);
    }
    shown_ = std::move(shown);
}
