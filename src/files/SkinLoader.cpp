#include "SkinLoader.h"

#include "GifFile.h"
#include "SkinError.h"
#include "TextFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString RunningExecutableFolder()
{
    QString folder;
    const QString self = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    if (!self.isEmpty())
        folder = QFileInfo(self).absolutePath();
    else if (QCoreApplication::instance() != nullptr)
        folder = QCoreApplication::applicationDirPath();
    folder = QDir::fromNativeSeparators(folder);
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

AssetFiles AssetFilesIn(const QString& executableFolder)
{
    const QDir folder(executableFolder);
    return {folder.filePath(QStringLiteral("Files/statusline.gif")), folder.filePath(QStringLiteral("Files/LangRuvex.txt"))};
}

void LoadAssets(SkinDocument& document, const AssetFiles& assets)
{
    std::string failures;
    const auto attempt = [&](auto&& load, auto&& onFailure) {
        try {
            load();
        } catch (const SkinError& error) {
            onFailure();
            if (!failures.empty())
                failures += "\n";
            failures += error.what();
        }
    };
    attempt([&] { document.Pictures[StatusLineSlot] = LoadGifFile(assets.overlay); }, [] {});
    attempt([&] { document.LangLines = ReadTextLines(assets.texts); }, [&] { document.LangLines.clear(); });
    if (!failures.empty())
        throw SkinError(failures);
}

void LoadSkin(SkinDocument& document, const QString& path, const PictureReader& read)
{
    const std::string bytes = ReadFileBytes(path, MaxTextFileBytes);
    document.Lines.Assign(SplitTextLines(bytes));
    document.DescriptionCut = FindTextCut(bytes);
    const QDir folder = QFileInfo(path).absoluteDir();
    PictureFindings found;
    std::string failure; // the load stops at the first picture there that does not decode
    for (const PictureRole& role : PictureRoles) {
        const auto number = static_cast<std::size_t>(role.number);
        const QString file = folder.filePath(PictureFileName(role.number));
        PictureReading reading = read ? read(role.number, file) : ReadSkinPicture(file);
        found[number].problem = reading.problem;
        if (!reading.image.isNull())
            found[number].size = reading.image.size();
        if (!failure.empty())
            continue;
        if (!reading.image.isNull())
            document.Pictures[number] = std::move(reading.image);
        else
            failure = reading.loadError; // empty for a missing file: its slot is kept
    }
    document.PictureFound = found;
    if (!failure.empty())
        throw SkinError(failure);
    document.ParseSkin();
}
