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
    DrawPreview(surface_, document_.Model, document_.Pictures, SampleTexts(), settings_, &drawn_, &cache_);
}
