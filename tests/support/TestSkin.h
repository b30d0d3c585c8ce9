#pragma once
// Skin folders built in a temporary directory for tests.
#include "SkinError.h"
#include "SkinFormat.h"

#include <QImage>
#include <QString>
#include <QTemporaryDir>

#include <map>
#include <string>
#include <vector>

// The description lines of a complete skin in the reference layout.
std::vector<std::string> ReferenceSkinLines();

// A line's first word: the key it is written for.
std::string FirstWord(const std::string& line);

// The reference lines with each given line in place of the line of the same key.
std::vector<std::string> SkinWith(const std::vector<std::string>& replacements);

// The colour test pictures of number n are filled with.
QRgb TestPictureColor(int number);

class TestSkin {
public:
    TestSkin();

    QString Dir() const { return dir_.path(); }
    QString Path(const QString& name) const { return dir_.filePath(name); }
    QString DescriptionPath() const { return Path(QString::fromLatin1(DescriptionFileName)); }

    // Writes raw bytes, or lines joined by CR LF, as a file of the folder.
    void WriteBytes(const QString& name, const std::string& bytes) const;
    void WriteDescription(const std::vector<std::string>& lines) const;
    // 4×3 solid pictures 0.gif..14.gif, each in TestPictureColor(n).
    void WritePictures() const;
    // A complete skin: reference description and all pictures.
    void WriteComplete() const;

    std::string ReadBytes(const QString& name) const;

private:
    QTemporaryDir dir_;
};

std::string JoinCrLf(const std::vector<std::string>& lines);

// Every entry under folder as it is on disk, links not followed: a file's mode and
// bytes, a link's target, a folder's mode. Equal states: nothing there changed.
std::map<std::string, std::string> DiskState(const QString& folder);

// The message of the SkinError that action throws, or "<no error>".
template <class Action>
std::string ErrorOf(Action&& action)
{
    try {
        action();
    } catch (const SkinError& error) {
        return error.what();
    }
    return "<no error>";
}
