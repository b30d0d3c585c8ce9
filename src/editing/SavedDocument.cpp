#include "EditingSession.h"

#include "SkinError.h"

SkinDocument EditingSession::SavedDocument() const
{
    SkinDocument saved;
    saved.Lines.Assign(savedLines_);
    for (int number = 0; number < SkinPictureCount; ++number)
        saved.Pictures[static_cast<std::size_t>(number)] = pictures_.SavedImage(number);
    saved.Pictures[StatusLineSlot] = document_.Pictures[StatusLineSlot];
    saved.LangLines = document_.LangLines;
    saved.SkinFileName = document_.SkinFileName;
    try {
        saved.ParseSkin();
    } catch (const SkinError&) {
        // Lines that do not parse leave SkinLoaded unset: nothing of them is drawn.
    }
    return saved;
}
