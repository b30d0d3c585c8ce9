#include "SkinRecoloring.h"

#include "SkinError.h"
#include "SkinFormat.h"
#include "TextFile.h"

#include <QDir>
#include <QFileInfo>

RecolorEdits EditsOfRecolor(const SkinDocument& document, const SkinPictures& pictures, const ColorMap& map)
{
    RecolorEdits edits;
    for (RecoloredLine& line : RecolorLines(document.Lines, map))
        edits.lines.push_back({line.index, line.key, document.Lines.Line(line.index), std::move(line.text)});
    for (int number = 0; number < SkinPictureCount; ++number) {
        const PictureContent& before = pictures.Content(number);
        if (before.kind != PictureContent::Kind::Bytes)
            continue;
        std::string after = RecolorGif(*before.bytes, map);
        if (after != *before.bytes)
            edits.pictures.push_back({number, before, PictureContent::Of(std::move(after))});
    }
    return edits;
}

std::vector<std::string> WriteRecoloredSkin(const SkinDocument& document, const SkinPictures& pictures,
                                             const SkinWorkspace& workspace, const ColorMap& map,
                                             const QString& folder)
{
    const QString target = QDir(folder).absolutePath() + QLatin1Char('/');
    if (QFileInfo(target).canonicalFilePath() == QFileInfo(workspace.PictureFile(0)).canonicalPath())
        throw SkinError("The working copy cannot hold an edition: choose another folder");
    SkinLines lines = document.Lines;
    for (RecoloredLine& line : RecolorLines(lines, map))
        lines.Replace(line.index, std::move(line.text));
    SkinFileSet files;
    for (int number = 0; number < SkinPictureCount; ++number) {
        const PictureContent& content = pictures.Content(number);
        if (content.kind == PictureContent::Kind::Bytes)
            files.emplace_back(PictureFileName(number), RecolorGif(*content.bytes, map));
    }
    files.emplace_back(QString::fromLatin1(DescriptionFileName), JoinTextLines(lines.Lines()));
    return WriteSkinFiles(target, files);
}
