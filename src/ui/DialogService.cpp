#include "DialogService.h"

#include "PictureImport.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

std::optional<QString> DialogService::OpenSkinFile()
{
    return RunRemembering(OD1, lastSkinFile_);
}

std::optional<QString> DialogService::SaveSkinFile(const QString& openedFolder)
{
    if (!savedOnce_ && !openedFolder.isEmpty())
        lastSaveFile_ = QDir(QFileInfo(openedFolder).absolutePath()).filePath(QString::fromLatin1(DescriptionFileName));
    const auto chosen = RunRemembering(SD1, lastSaveFile_);
    savedOnce_ = savedOnce_ || chosen.has_value();
    return chosen;
}

std::optional<QString> DialogService::OpenPictureFile()
{
    // GIF first, then every kind Qt reads here, which depends on its plug-ins.
    const QByteArray filter = PictureFileFilter().toUtf8();
    FileDialogSettings settings = ImgReplaceDialog;
    settings.filter = filter.constData();
    // The folder alone: the file chosen last belongs to another slot most often.
    const auto chosen = RunFileDialog(settings, lastPictureFile_.isEmpty() ? QString()
                                                                           : QFileInfo(lastPictureFile_).absolutePath());
    if (chosen)
        lastPictureFile_ = *chosen;
    return chosen;
}

std::optional<QString> DialogService::SavePngFile(const FileDialogSettings& settings, const QString& defaultName,
                                                  const QString& skinFolder)
{
    QString folder = lastPngFolder_;
    if (folder.isEmpty())
        folder = skinFolder.isEmpty() ? QDir::homePath() : QFileInfo(skinFolder).absolutePath();
    const auto chosen = RunFileDialog(settings, QDir(folder).filePath(defaultName));
    if (chosen)
        lastPngFolder_ = QFileInfo(*chosen).absolutePath();
    return chosen;
}

std::optional<QString> DialogService::ChooseNewSkinFolder()
{
    const auto chosen = RunFileDialog(NewSkinDialog, lastNewSkinFolder_);
    if (chosen)
        lastNewSkinFolder_ = *chosen;
    return chosen;
}

std::optional<QString> DialogService::ChooseCompareFolder()
{
    return RunRemembering(CompareDialog, lastCompareFolder_);
}

std::optional<std::string> DialogService::EditLineText(int lineNumber, const std::string& line)
{
    // One character a byte, as the file's own words are shown everywhere.
    const auto text = RunLineDialog(QStringLiteral("%1, line %2").arg(QString::fromLatin1(DescriptionFileName)).arg(lineNumber),
                                    QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size())));
    if (!text)
        return std::nullopt;
    const QByteArray bytes = text->toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

std::optional<int> DialogService::ChooseScale(const QString& title, int maximum)
{
    const auto chosen = RunScaleDialog(title, std::clamp(lastScale_, 1, maximum), maximum);
    if (chosen)
        lastScale_ = *chosen;
    return chosen;
}

std::optional<QColor> DialogService::PickColor(const QColor& initial, const std::vector<QColor>& custom)
{
    return RunColorDialog(initial, custom);
}

std::optional<QString> DialogService::RunRemembering(const FileDialogSettings& settings, QString& lastFile)
{
    const auto chosen = RunFileDialog(settings, lastFile);
    if (chosen)
        lastFile = *chosen;
    return chosen;
}
