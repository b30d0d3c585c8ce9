#include "SkinPictures.h"

#include "FilePaths.h"
#include "GifDecoder.h"
#include "GifFile.h"
#include "PictureImport.h"
#include "SkinError.h"
#include "TextFile.h"

#include <QFileInfo>

#include <algorithm>
#include <cerrno>

namespace {

std::string MissingFileError(const QString& file)
{
    return OpenFileError(file, SystemReason(ENOENT));
}

// Why a picture another program wrote cannot be taken; empty when it can.
std::string Refusal(const PictureContent& now, const QString& file)
{
    switch (now.kind) {
    case PictureContent::Kind::Absent: return MissingFileError(file);
    case PictureContent::Kind::Unreadable: return now.reason;
    case PictureContent::Kind::Bytes:
        try {
            DecodeGifFile(*now.bytes, file);
        } catch (const SkinError& error) {
            return error.what();
        }
    }
    return {};
}

// What the loader and check learn of a picture whose content was read: its image,
// or check's words and the loader's error.
PictureReading ReadingOf(const PictureContent& content, const QString& file)
{
    PictureReading reading;
    switch (content.kind) {
    case PictureContent::Kind::Absent: reading.problem = "missing"; break;
    case PictureContent::Kind::Unreadable:
        reading.problem = content.reason;
        if (QFileInfo::exists(file)) // a link that leads nowhere is skipped like a missing file
            reading.loadError = content.reason;
        break;
    case PictureContent::Kind::Bytes:
        try {
            reading.image = DecodeGif(QByteArray::fromRawData(content.bytes->data(), static_cast<qsizetype>(content.bytes->size())));
        } catch (const SkinError& error) {
            reading.problem = std::string("cannot be decoded: ") + error.what();
            reading.loadError = PictureReadError(file, error.what());
        }
        break;
    }
    return reading;
}

} // namespace

SkinPictures::SkinPictures(SkinDocument& document, SkinWorkspace& workspace) : document_(document), workspace_(workspace)
{
}

const QImage& SkinPictures::Picture(int number) const
{
    if (number < 0 || number >= SkinPictureCount)
        ThrowListIndexError(number);
    const auto n = static_cast<std::size_t>(number);
    if (document_.Pictures[n].isNull())
        throw SkinError(errors_[n].empty() ? MissingFileError(workspace_.PictureFile(number)) : errors_[n]);
    return document_.Pictures[n];
}

PictureReading SkinPictures::ReadForLoad(int number)
{
    const auto n = static_cast<std::size_t>(number);
    const QString file = workspace_.PictureFile(number);
    pictures_[n] = ReadPictureContent(file, workspace_.KeptFile(number));
    stamps_[n] = StampOf(file);
    // A picture the skin holds twice (a button's two states, say) is decoded once and shared.
    for (std::size_t other = 0; other < readForLoad_.size(); ++other)
        if (other != n && readForLoad_[other] && !readForLoad_[other]->image.isNull()
            && pictures_[n].kind == PictureContent::Kind::Bytes && SamePicture(pictures_[other], pictures_[n])) {
            readForLoad_[n] = readForLoad_[other];
            return *readForLoad_[n];
        }
    readForLoad_[n] = ReadingOf(pictures_[n], file);
    return *readForLoad_[n]; // the image is shared, not copied
}

void SkinPictures::Load(const std::vector<int>& borrowed)
{
    for (int number = 0; number < SkinPictureCount; ++number) {
        const auto n = static_cast<std::size_t>(number);
        if (!readForLoad_[n])
            ReadForLoad(number);
        unwritten_[n] = false;
        borrowed_[n].reset();
        if (std::find(borrowed.begin(), borrowed.end(), number) != borrowed.end())
            borrowed_[n] = pictures_[n];
        ShowInDocument(number, std::move(*readForLoad_[n]));
        readForLoad_[n].reset();
    }
}

std::optional<std::string> SkinPictures::Set(int number, const PictureContent& content) noexcept
{
    const auto n = static_cast<std::size_t>(number);
    pictures_[n] = content;
    const QString file = workspace_.PictureFile(number);
    std::optional<std::string> error;
    try {
        PutPictureContent(file, content);
        unwritten_[n] = false;
    } catch (const std::exception& writeError) {
        // The picture is kept; the autosave tries again.
        unwritten_[n] = true;
        error = writeError.what();
    }
    stamps_[n] = StampOf(file);
    ShowInDocument(number);
    return error;
}

QImage SkinPictures::SavedImage(int number) const
{
    const auto n = static_cast<std::size_t>(number);
    if (SamePicture(saved_[n], pictures_[n]))
        return document_.Pictures[n];
    return ReadingOf(saved_[n], workspace_.PictureFile(number)).image;
}

void SkinPictures::ShowInDocument(int number)
{
    ShowInDocument(number, ReadingOf(pictures_[static_cast<std::size_t>(number)], workspace_.PictureFile(number)));
}

void SkinPictures::ShowInDocument(int number, PictureReading reading)
{
    const auto n = static_cast<std::size_t>(number);
    const PictureContent& content = pictures_[n];
    PictureFinding& found = document_.PictureFound[n];
    found = PictureFinding{};
    found.problem = reading.problem;
    errors_[n].clear();
    if (!reading.image.isNull())
        found.size = reading.image.size();
    else if (content.kind == PictureContent::Kind::Absent)
        errors_[n] = MissingFileError(workspace_.PictureFile(number));
    else
        errors_[n] = content.kind == PictureContent::Kind::Unreadable ? content.reason : reading.loadError;
    document_.Pictures[n] = std::move(reading.image);
    found.borrowed = borrowed_[n] && SamePicture(*borrowed_[n], content);
}

void SkinPictures::WriteUnwritten()
{
    for (int number = 0; number < SkinPictureCount; ++number) {
        const auto n = static_cast<std::size_t>(number);
        if (!unwritten_[n])
            continue;
        const QString file = workspace_.PictureFile(number);
        PutPictureContent(file, pictures_[n]);
        unwritten_[n] = false;
        stamps_[n] = StampOf(file);
    }
}

std::string SkinPictures::TakeOutsideChanges(const TakeChange& take)
{
    std::string messages;
    const auto report = [&messages](const std::string& message) {
        messages += messages.empty() ? message : "\n" + message;
    };
    for (int number = 0; number < SkinPictureCount; ++number) {
        const auto n = static_cast<std::size_t>(number);
        const QString file = workspace_.PictureFile(number);
        const FileStamp stamp = StampOf(file);
        if (stamp == stamps_[n] && !unwritten_[n])
            continue;
        PictureContent now = ReadPictureContent(file);
        if (now.kind == PictureContent::Kind::Unreadable)
            now.kept = file; // compared as the file it is
        if (SamePicture(now, pictures_[n])) {
            stamps_[n] = stamp;
            unwritten_[n] = false;
            continue;
        }
        // Where the editor's own write is still due, that write goes first, unreported.
        if (!unwritten_[n]) {
            const std::string refusal = Refusal(now, file);
            if (refusal.empty()) {
                if (const std::optional<std::string> error = take(number, pictures_[n], std::move(now)))
                    report(*error);
                continue;
            }
            // Not taken: the picture the editor holds goes back, and the user hears of it once.
            report(refusal);
        }
        try {
            PutPictureContent(file, pictures_[n]);
            unwritten_[n] = false;
        } catch (const std::exception& error) {
            unwritten_[n] = true;
            report(error.what());
        }
        stamps_[n] = StampOf(file);
    }
    return messages;
}

bool SkinPictures::Modified() const
{
    for (std::size_t number = 0; number < pictures_.size(); ++number)
        if (!SamePicture(pictures_[number], saved_[number]))
            return true;
    return false;
}

std::vector<int> SkinPictures::Apply(const std::vector<PictureEdit>& edits, bool forward, StepErrors& errors) noexcept
{
    std::vector<int> changed;
    for (const PictureEdit& edit : edits) {
        const PictureContent& content = forward ? edit.after : edit.before;
        if (SamePicture(Content(edit.number), content))
            continue;
        if (std::optional<std::string> error = Set(edit.number, content))
            errors.Keep(*error);
        changed.push_back(edit.number);
    }
    return changed;
}

void SkinPictures::CheckReplaceable(int number) const
{
    if (document_.SkinFileName.isEmpty())
        throw SkinError("Open a skin before replacing a picture");
    if (number < 0 || number >= SkinPictureCount)
        ThrowListIndexError(number);
}

std::optional<PictureEdit> SkinPictures::Replacement(int number, std::string bytes) const
{
    PictureContent after = PictureContent::Of(std::move(bytes));
    const PictureContent& before = Content(number);
    if (SamePicture(before, after))
        return std::nullopt;
    if (before.kind == PictureContent::Kind::Unreadable && before.kept.isEmpty())
        throw SkinError("Cannot create file \"" + DisplayPath(workspace_.PictureFile(number))
                        + "\". The file there cannot be kept to undo the replacement");
    return PictureEdit{number, before, std::move(after)};
}

std::optional<std::string> ReadChosenGif(const std::optional<QString>& chosenFile)
{
    const QFileInfo chosen(chosenFile.value_or(QString()));
    if (!chosenFile || chosenFile->isEmpty() || !(chosen.exists() || chosen.isSymLink()))
        return std::nullopt;
    std::string bytes = ReadFileBytes(*chosenFile, MaxPictureFileBytes);
    DecodeGifFile(bytes, *chosenFile);
    return bytes;
}

std::optional<QImage> NonGifPicture(const QString& chosenFile)
{
    const std::string bytes = ReadFileBytes(chosenFile, MaxPictureFileBytes);
    const QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    // A file named as a GIF is one, and says so when it is not.
    if (IsGifData(data) || QFileInfo(chosenFile).suffix().compare(QLatin1String("gif"), Qt::CaseInsensitive) == 0)
        return std::nullopt;
    try {
        return DecodePicture(data);
    } catch (const SkinError& error) {
        throw SkinError(PictureReadError(chosenFile, error.what()));
    }
}
