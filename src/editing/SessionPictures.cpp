// The session's picture commands: a picture replaced by a chosen GIF or by one
// converted from another kind, and the pictures other programs changed on disk.
#include "EditingSession.h"

#include "GifFile.h"

#include <QFileInfo>

void EditingSession::ReplacePicture(int number, const std::optional<QString>& chosenFile)
{
    pictures_.CheckReplaceable(number);
    // Read and decoded before anything changes: a refusal names the chosen file.
    if (std::optional<std::string> bytes = ReadChosenGif(chosenFile))
        PushReplacement(number, std::move(*bytes), QStringLiteral("Replace %1").arg(PictureFileName(number)));
}

void EditingSession::ReplacePictureConverted(int number, const QString& sourceFile, const QByteArray& gif)
{
    pictures_.CheckReplaceable(number);
    std::string bytes(gif.constData(), static_cast<std::size_t>(gif.size()));
    DecodeGifFile(bytes, sourceFile);
    PushReplacement(number, std::move(bytes),
                    QStringLiteral("Replace %1 from %2").arg(PictureFileName(number), QFileInfo(sourceFile).fileName()));
}

void EditingSession::PushReplacement(int number, std::string bytes, const QString& name)
{
    CommitLive(QStringLiteral("Move"));
    Commit();
    TakeOutsideChanges(); // another program's change first, as a step of its own
    if (std::optional<PictureEdit> edit = pictures_.Replacement(number, std::move(bytes))) {
        Push(name, {}, {std::move(*edit)});
        errors_.ThrowKept();
    }
}

void EditingSession::TakeOutsideChanges() noexcept
{
    if (document_.SkinFileName.isEmpty())
        return;
    const std::string messages =
        pictures_.TakeOutsideChanges([this](int number, PictureContent before, PictureContent now) {
            Push(PictureFileName(number) + QStringLiteral(" changed on disk"), {},
                 {PictureEdit{number, std::move(before), std::move(now)}});
            return errors_.Take();
        });
    if (!messages.empty())
        emit ExternalChangeFailed(messages);
}
