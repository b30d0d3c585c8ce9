#include "SessionFiles.h"

#include "SkinChecker.h"
#include "SkinError.h"

#include <QFileInfo>

SessionFiles::SessionFiles(SkinDocument& document, SkinWorkspace& workspace, SkinPictures& pictures, Tell tell)
    : document_(document), workspace_(workspace), pictures_(pictures), tell_(std::move(tell))
{
}

template <typename Work>
auto SessionFiles::TellingNotices(Work&& work)
{
    // Told whether the work succeeds or not: a record set aside before a refused Save
    // as is news all the same.
    const auto tell = [this] {
        for (const std::string& notice : workspace_.TakeNotices())
            tell_(notice);
    };
    try {
        auto result = work();
        tell();
        return result;
    } catch (...) {
        tell();
        throw;
    }
}

void SessionFiles::LoadAssets()
{
    TellingNotices([&] {
        workspace_.LoadAssets();
        return true;
    });
}

std::vector<int> SessionFiles::CopyIn(const QString& chosenFile)
{
    return TellingNotices([&] { return workspace_.CopySkinIn(chosenFile); });
}

std::string SessionFiles::Load(const QString& chosenFile, const std::vector<int>& borrowed)
{
    skinFolder_ = QFileInfo(chosenFile).absolutePath();
    std::string error;
    try {
        // Each picture read and decoded once, for the loader and the pictures held.
        workspace_.LoadWorkingCopy([this](int number, const QString&) { return pictures_.ReadForLoad(number); });
    } catch (const SkinError& loadError) {
        error = loadError.what();
        // A file without a line fails at its first key: say why it has none.
        const std::string reason = NoLineReason(document_.Lines.Lines(), document_.DescriptionCut);
        if (!reason.empty() && error == ListIndexErrorText(-1))
            error = reason + ". " + error;
    }
    pictures_.Load(borrowed);
    savedLines_ = document_.Lines.Lines();
    pictures_.MarkSaved();
    return error;
}

void SessionFiles::SaveAs(const QString& chosenFile)
{
    pictures_.WriteUnwritten(); // Save as copies the working copy's pictures
    TellingNotices([&] {
        workspace_.SaveAs(chosenFile);
        return true;
    });
    skinFolder_ = QFileInfo(chosenFile).absolutePath();
    savedLines_ = document_.Lines.Lines();
    pictures_.MarkSaved();
}

void SessionFiles::Autosave()
{
    workspace_.Autosave();
    if (!document_.SkinFileName.isEmpty())
        pictures_.WriteUnwritten();
}

bool SessionFiles::Modified() const
{
    return document_.Lines.Lines() != savedLines_ || pictures_.Modified();
}

SkinDocument SessionFiles::SavedDocument() const
{
    SkinDocument saved;
    saved.Lines.Assign(savedLines_);
    for (int number = 0; number < SkinPictureCount; ++number)
        saved.Pictures[static_cast<std::size_t>(number)] = pictures_.SavedImage(number);
    saved.Pictures[StatusLineSlot] = document_.Pictures[StatusLineSlot];
    saved.LangLines = document_.LangLines;
    saved.SkinFileName = document_.SkinFileName;
    try {
        saved.ParseSkin();
    } catch (const SkinError&) {
        // Lines that do not parse leave SkinLoaded unset: nothing of them is drawn.
    }
    return saved;
}
