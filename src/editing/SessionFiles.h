#pragma once
// The open skin's files, as Open, Save as and autosave leave them: the folder last
// opened or saved as, the lines as last saved, and the workspace's notices, told on
// the way whether the work succeeds or not. The session composes it and keeps the
// history, the drawing and the signals.
#include "SkinDocument.h"
#include "SkinPictures.h"
#include "SkinWorkspace.h"

#include <QString>

#include <functional>
#include <string>
#include <vector>

class SessionFiles {
public:
    using Tell = std::function<void(const std::string& notice)>;

    SessionFiles(SkinDocument& document, SkinWorkspace& workspace, SkinPictures& pictures, Tell tell);

    void LoadAssets();
    // Copies the skin into the working copy; a copy that is refused throws and changes
    // nothing. Returns the earlier pictures that the opened skin lacks.
    std::vector<int> CopyIn(const QString& chosenFile);
    // Loads what CopyIn copied, which is then the skin as saved. Returns why it does
    // not load; empty when it does.
    std::string Load(const QString& chosenFile, const std::vector<int>& borrowed);
    void SaveAs(const QString& chosenFile);
    void Autosave();

    const QString& SkinFolder() const { return skinFolder_; }
    // Whether lines or pictures differ from what the last Open or Save as left.
    bool Modified() const;
    SkinDocument SavedDocument() const;

private:
    template <typename Work>
    auto TellingNotices(Work&& work);

    SkinDocument& document_;
    SkinWorkspace& workspace_;
    SkinPictures& pictures_;
    Tell tell_;
    QString skinFolder_;
    std::vector<std::string> savedLines_;
};
