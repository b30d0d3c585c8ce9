#include "SkinRecolouring.h"

#include "SkinError.h"
#include "SkinFormat.h"
#include "TextFile.h"

#include <QDir>
#include <QFileInfo>

RecolourEdits EditsOfRecolour(const SkinDocument& document, const SkinPictures& pictures, const ColourMap& map)
{
    RecolourEdits edits;
    for (RecolouredLine& line : RecolourLines(document.Lines, map))
        edits.lines.push_back({line.index, line.key, document.Lines.Line(line.index), std::move(line.text)});
    for (int number = 0; number < SkinPictureCount; ++number) {
        const PictureContent& before = pictures.Content(number);
        if (before.kind != PictureContent::Kind::Bytes)
            continue;
        std::string after = RecolourGif(*before.bytes, map);
        if (after != *before.bytes)
            edits.pictures.push_back({number, before, PictureContent::Of(std::move(after))});
    }
    return edits;
}

std::vector<std::string> WriteRecolouredSkin(const SkinDocument& document, const SkinPictures& pictures,
                                             const SkinWorkspace& workspace, const ColourMap& map,
                                             const QString& folder)
{
    const QString target = QDir(folder).absolutePath() + QLatin1Char('/');
    if (QFileInfo(target).canonicalFilePath() == QFileInfo(workspace.PictureFile(0)).canonicalPath())
        throw SkinError("The working copy cannot hold an edition: choose another folder");
    SkinLines lines = document.Lines;
    for (RecolouredLine& line : RecolourLines(lines, map))
        lines.Replace(line.index, std::move(line.text));
    SkinFileSet files;
    for (int number = 0; number < SkinPictureCount; ++number) {
        const PictureContent& content = pictures.Content(number);
        if (content.kind == PictureContent::Kind::Bytes)
            files.emplace_back(PictureFileName(number), RecolourGif(*content.bytes, map));
    }
    files.emplace_back(QString::fromLatin1(DescriptionFileName), JoinTextLines(lines.Lines()));
    return WriteSkinFiles(target, files);
}
