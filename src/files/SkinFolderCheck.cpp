#include "SkinFolderCheck.h"

#include "FilePaths.h"
#include "GifFile.h"
#include "SkinError.h"
#include "TextFile.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

std::vector<SkinProblem> CheckSkinFolder(const QString& folder, std::string* descriptionRead)
{
    const QDir dir(folder);
    const QString descriptionPath = dir.filePath(QString::fromLatin1(DescriptionFileName));
    // The system's own reason: a loop of symbolic links is told as such, not as a
    // missing folder.
    struct stat folderInfo {};
    const QByteArray native = QFile::encodeName(folder);
    int folderError = 0;
    if (native.isEmpty() || ::stat(native.constData(), &folderInfo) != 0)
        folderError = native.isEmpty() ? ENOENT : errno;
    else if (!S_ISDIR(folderInfo.st_mode))
        folderError = ENOTDIR;
    else if (::access(native.constData(), X_OK) != 0)
        folderError = errno; // no file in it can be reached: said once, not sixteen times "missing"
    if (folderError != 0)
        throw SkinError(OpenFileError(descriptionPath, SystemReason(folderError)));

    PictureFindings found;
    for (int number = 0; number < SkinPictureCount; ++number) {
        const PictureReading reading = ReadSkinPicture(dir.filePath(PictureFileName(number)));
        found[static_cast<std::size_t>(number)] = {reading.problem.empty() ? std::optional(reading.image.size()) : std::nullopt,
                                                   reading.problem};
    }
    std::string unread = "missing"; // the description file's problem when it cannot be checked
    if (EntryExists(descriptionPath)) {
        try {
            std::string bytes = ReadFileBytes(descriptionPath, MaxTextFileBytes);
            std::vector<SkinProblem> problems = CheckSkin(bytes, found);
            if (descriptionRead)
                *descriptionRead = std::move(bytes);
            return problems;
        } catch (const SkinError& e) {
            unread = e.what();
        }
    }
    std::vector<SkinProblem> problems{{DescriptionFileName, 0, unread}};
    const std::vector<SkinProblem> pictures = PictureProblems(found);
    problems.insert(problems.end(), pictures.begin(), pictures.end());
    return problems;
}
