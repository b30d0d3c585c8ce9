#include "TestSkin.h"

#include "GifWriter.h"

#include <QDirIterator>
#include <QFile>

#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

std::vector<std::string> ReferenceSkinLines()
{
    return {
        "TrackNumber = 4 20 20 1 255 0x10203000 0x000000FF",
        "Playlist = 172 20 24 1 255 0x10203000 0x000000FF",
        "Artist = 88 40 17 2 2 0xFFFFFF00 0x000000FF",
        "Title = 88 56 17 2 255 0x00FF0000 0x000000FF",
        "Album = 88 72 17 1 1 0x0000FF00 0x000000FF",
        "Time = 88 120 17 8 3 0xFF000000 0x000000FF",
        "TimeCurrent = 10 140 20 1 255 0x00000000 0x000000FF",
        "TimeElapsed = 166 140 24 1 255 0x00000000 0x000000FF",
        "SoftLabel = 2 218 36 1 255 0x00000000 0x000000FF",
        "",
        "; Pictures:  x  y  (a_v|a_h) ",
        "",
        "TitlePicture = 0 0 20",
        "SoftPicture = 0 204 20",
        "Backward = 30 180 20",
        "Play = 55 180 20",
        "Pause = 80 180 20",
        "Stop = 105 180 20",
        "Forward = 130 180 20",
        "Random = 10 100 20",
        "RepetitionOne = 150 100 20",
        "RepetitionAll = 150 110 20",
        "",
        "; Objects:  x  y  w  h  color",
        "",
        "Background = 0 0 176 220 0xC0C0C000",
        "ProgressBar = 10 160 156 6 0x00FF0000",
        "VolumeBar = 60 170 50 5 0x0000FF00",
        "",
        "; Setting: 1 - on, 0 - off",
        "",
        "StatusLine = 1",
    };
}

QRgb TestPictureColor(int number)
{
    return qRgb(10 * number + 5, 255 - 10 * number, (number * 37) % 256);
}

std::string JoinCrLf(const std::vector<std::string>& lines)
{
    std::string out;
    for (const auto& line : lines)
        out += line + "\r\n";
    return out;
}

TestSkin::TestSkin()
{
    if (!dir_.isValid())
        throw std::runtime_error("cannot make a temporary folder");
}

void TestSkin::WriteBytes(const QString& name, const std::string& bytes) const
{
    QFile file(Path(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()))
        throw std::runtime_error("cannot write " + Path(name).toStdString());
}

void TestSkin::WriteDescription(const std::vector<std::string>& lines) const
{
    WriteBytes(QString::fromLatin1(DescriptionFileName), JoinCrLf(lines));
}

void TestSkin::WritePictures() const
{
    for (int n = 0; n < 15; ++n)
        WriteGifFile(Path(QString::number(n) + QStringLiteral(".gif")), SolidGif(4, 3, TestPictureColor(n)));
}

void TestSkin::WriteComplete() const
{
    WriteDescription(ReferenceSkinLines());
    WritePictures();
}

std::string TestSkin::ReadBytes(const QString& name) const
{
    QFile file(Path(name));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + Path(name).toStdString());
    const QByteArray bytes = file.readAll();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

std::string FirstWord(const std::string& line)
{
    return line.substr(0, line.find_first_of(" \t="));
}

std::vector<std::string> SkinWith(const std::vector<std::string>& replacements)
{
    auto lines = ReferenceSkinLines();
    for (const auto& replacement : replacements)
        for (auto& line : lines)
            if (FirstWord(line) == FirstWord(replacement))
                line = replacement;
    return lines;
}

std::map<std::string, std::string> DiskState(const QString& folder)
{
    std::map<std::string, std::string> state;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QByteArray path = QFile::encodeName(it.next());
        struct stat info {};
        std::string& entry = state[path.toStdString()];
        if (::lstat(path.constData(), &info) != 0) {
            entry = "gone";
            continue;
        }
        entry = std::to_string(info.st_mode) + " " + std::to_string(info.st_uid) + " ";
        if (S_ISLNK(info.st_mode)) {
            char target[4096];
            const ssize_t length = ::readlink(path.constData(), target, sizeof target);
            entry += "-> " + std::string(target, static_cast<std::size_t>(length > 0 ? length : 0));
        } else if (S_ISREG(info.st_mode)) {
            QFile file(QFile::decodeName(path));
            entry += file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string("<unreadable>");
        }
    }
    return state;
}
