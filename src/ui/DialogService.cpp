#include "DialogService.h"

std::optional<QString> DialogService::OpenSkinFile()
{
    return RunRemembering(OD1, lastSkinFile_);
}

std::optional<QString> DialogService::SaveSkinFile()
{
    return RunRemembering(SD1, lastSaveFile_);
}

std::optional<QString> DialogService::OpenPictureFile()
{
    return RunRemembering(ImgReplaceDialog, lastPictureFile_);
}

std::optional<QColor> DialogService::PickColor()
{
    const auto chosen = RunColorDialog(lastColor_);
    if (chosen)
        lastColor_ = *chosen;
    return chosen;
}

std::optional<QString> DialogService::RunRemembering(const FileDialogSettings& settings, QString& lastFile)
{
    const auto chosen = RunFileDialog(settings, lastFile);
    if (chosen)
        lastFile = *chosen;
    return chosen;
}
