#pragma once
// The fifteen pictures of the open skin as the session holds them: each picture's
// content, the document's decoded image and finding that follow it, the working
// copy's file that is written from it, and what is known of that file (its stamp as
// last written or seen, a write that failed and is still due). The session makes
// the history's steps; this keeps the pictures and their files in step.
#include "GifFile.h"
#include "PictureContent.h"
#include "SkinDocument.h"
#include "SkinStep.h"
#include "SkinWorkspace.h"

#include <QImage>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The GIF in chosenFile, read and decoded, so that a refusal names the chosen
// file; nothing when nothing was chosen (no name, or no file of that name).
std::optional<std::string> ReadChosenGif(const std::optional<QString>& chosenFile);
// The picture in chosenFile, when it is of another kind than GIF; nothing for a GIF
// (by its signature or its name). Throws, naming the file, when it cannot be read,
// is too large or does not decode.
std::optional<QImage> NonGifPicture(const QString& chosenFile);

class SkinPictures {
public:
    // Takes a picture another program wrote as a step: before is the picture held,
    // now the file's; returns the step's error, if any.
    using TakeChange = std::function<std::optional<std::string>(int number, PictureContent before, PictureContent now)>;

    SkinPictures(SkinDocument& document, SkinWorkspace& workspace);

    const PictureContent& Content(int number) const { return pictures_.at(static_cast<std::size_t>(number)); }
    // The decoded picture number; throws why there is none.
    const QImage& Picture(int number) const;

    // Reads picture number of the freshly copied working copy and decodes it, for the
    // loader; Load takes what was read here instead of reading it again.
    PictureReading ReadForLoad(int number);
    // Reads every picture of the freshly copied working copy that ReadForLoad did not;
    // those in borrowed are the working copy's earlier pictures that the opened skin
    // lacks, marked so while unchanged.
    void Load(const std::vector<int>& borrowed);
    // Puts content in place and writes it into the working copy. A write that fails
    // keeps the picture, is tried again by WriteUnwritten, and its error is returned.
    std::optional<std::string> Set(int number, const PictureContent& content) noexcept;
    // Throws unless picture number of an open skin may be replaced.
    void CheckReplaceable(int number) const;
    // The edit that puts bytes in place of picture number; nothing when they are there
    // already. Throws when the file there is unreadable and was not kept aside, so the
    // replacement could not be undone.
    std::optional<PictureEdit> Replacement(int number, std::string bytes) const;
    // Puts the after (forward) or before side of a step's pictures in place, keeping
    // the errors of failed writes; returns the numbers that changed.
    std::vector<int> Apply(const std::vector<PictureEdit>& edits, bool forward, StepErrors& errors) noexcept;
    // Writes what a failed write left behind; throws the first error.
    void WriteUnwritten();
    // Compares each file with what was last written or seen: a picture that decodes
    // goes to take; anything else is written back as it was. Returns the messages to
    // report, one a line; empty when everything was taken.
    std::string TakeOutsideChanges(const TakeChange& take);

    // What the last Open or Save as left, and whether the pictures differ from it.
    void MarkSaved() { saved_ = pictures_; }
    bool Modified() const;
    // The decoded picture that the last Open or Save as left (null when it has none):
    // the one shown, shared, while it is unchanged since.
    QImage SavedImage(int number) const;

private:
    // Decodes the picture into the document's slot and finding.
    void ShowInDocument(int number);
    // Shows what reading the picture's content gave.
    void ShowInDocument(int number, PictureReading reading);

    SkinDocument& document_;
    SkinWorkspace& workspace_;
    std::array<PictureContent, SkinPictureCount> pictures_;
    std::array<std::string, SkinPictureCount> errors_; // why a picture has no image
    std::array<FileStamp, SkinPictureCount> stamps_;   // each file as last written or seen
    std::array<bool, SkinPictureCount> unwritten_{};   // a write of it failed
    std::array<std::optional<PictureContent>, SkinPictureCount> borrowed_;
    std::array<PictureContent, SkinPictureCount> saved_;
    std::array<std::optional<PictureReading>, SkinPictureCount> readForLoad_; // until Load takes it
};
