#include "SkinLoader.h"

#include "GifPicture.h"
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

void LoadAssetsAndSkin(SkinDocument& document, const AssetFiles& assets, AssetErrors errors, const QString& skinFile)
{
    std::string failures;
    const auto attempt = [&](auto&& load, auto&& onFailure) {
        try {
            load();
        } catch (const SkinError& error) {
            onFailure();
            if (errors == AssetErrors::StopAtFirst)
                throw;
            if (!failures.empty())
                failures += "\n";
            failures += error.what();
        }
    };
    attempt([&] { document.Pictures[StatusLineSlot] = LoadGifFile(assets.overlay); }, [] {});
    attempt([&] { document.LangLines = ReadTextLines(assets.texts); }, [&] { document.LangLines.clear(); });
    if (!failures.empty())
        throw SkinError(failures);
    if (!skinFile.isEmpty())
        document.LoadSkin(skinFile);
}
