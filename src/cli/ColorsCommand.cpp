// vellumark-skin colours and recolour: the skin's palette, and a whole skin written
// recoloured into another folder, as the editor's Replace with... and Edition do it.
#include "CliCommand.h"

#include "FilePaths.h"
#include "GifDecoder.h"
#include "GifFile.h"
#include "SkinColors.h"
#include "SkinError.h"
#include "SkinWorkspace.h"
#include "TextFile.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>

namespace {

// A skin as read from its folder: lines, each picture's bytes (none: no file) and
// what each decodes to (null: it does not).
struct SkinOnDisk {
    SkinLines lines;
    std::array<std::optional<std::string>, SkinPictureCount> gifs;
    std::array<QImage, SkinPictureCount> pictures;
};

SkinOnDisk ReadSkin(const QString& skinDir)
{
    const SkinPath path = SkinPathOf(SkinFolder(skinDir));
    const QDir folder(path.folder);
    SkinOnDisk skin;
    skin.lines.Assign(ReadTextLines(path.description));
    for (int number = 0; number < SkinPictureCount; ++number) {
        const QString path = folder.absoluteFilePath(PictureFileName(number));
        if (!QFileInfo::exists(path))
            continue;
        auto& gif = skin.gifs[static_cast<std::size_t>(number)];
        gif = ReadFileBytes(path, MaxPictureFileBytes);
        try {
            skin.pictures[static_cast<std::size_t>(number)] =
                DecodeGif(QByteArray::fromRawData(gif->data(), static_cast<qsizetype>(gif->size())));
        } catch (const SkinError&) {
            // A picture that does not decode shows no colours and is written as it is:
            // check reports it the same on both sides.
        }
    }
    return skin;
}

std::optional<float> NumberOption(const QCommandLineParser& parser, const char* name, float low)
{
    const QString option = QString::fromLatin1(name);
    if (!parser.isSet(option))
        return std::nullopt;
    const QString value = parser.value(option);
    bool ok = false;
    const float number = value.toFloat(&ok);
    if (!ok || !std::isfinite(number) || number < low)
        throw UsageError("Invalid --" + std::string(name) + " " + Quoted(value));
    return number;
}

struct RecolorJob {
    QString skinDir;
    QString output;
    Edition edition;
    ColorMap replacements;
};

RecolorJob ReadRecolorJob(const CommandContext& context)
{
    const QCommandLineParser& parser = context.parser;
    RecolorJob job;
    job.skinDir = SkinDirArgument(context.positional, "recolour");
    const QStringList outputs = parser.values(QStringLiteral("output"));
    if (outputs.size() != 1 || outputs.front().isEmpty())
        throw UsageError("The command \"recolour\" needs one -o OUT_DIR");
    job.output = outputs.front();
    job.edition.hue = NumberOption(parser, "hue", -1e6f).value_or(0);
    job.edition.chroma = NumberOption(parser, "chroma", 0).value_or(1);
    job.edition.lightness = NumberOption(parser, "lightness", 0).value_or(1);
    job.edition.neutrals = parser.isSet(QStringLiteral("neutrals"));
    for (const QString& value : parser.values(QStringLiteral("map"))) {
        const QStringList sides = value.split(QLatin1Char('='));
        const auto from = sides.size() == 2 ? ParseColorName(sides[0].toStdString()) : std::nullopt;
        const auto to = sides.size() == 2 ? ParseColorName(sides[1].toStdString()) : std::nullopt;
        if (!from || !to)
            throw UsageError("Invalid --map " + Quoted(value) + " (RRGGBB=RRGGBB)");
        job.replacements[*from] = *to;
    }
    return job;
}

// The folder written to, ending in a separator; made when missing. Refuses the
// skin's own folder, which recolour never writes.
QString OutputFolder(const QString& output, const QString& skinDir)
{
    if (!QDir().mkpath(output))
        throw SkinError("Cannot create folder \"" + DisplayPath(output) + "\"");
    const QString out = QFileInfo(output).canonicalFilePath();
    if (out == QFileInfo(SkinFolder(skinDir)).canonicalFilePath())
        throw SkinError("\"" + DisplayPath(output) + "\" is the skin's own folder; recolour writes into another one");
    return out + QLatin1Char('/');
}

} // namespace

std::vector<QCommandLineOption> ColorsOptions()
{
    return {};
}

int RunColors(CommandContext& context)
{
    const QString skinDir = SkinDirArgument(context.positional, "colours");
    return RunDrawing(context, [&] {
        const SkinOnDisk skin = ReadSkin(skinDir);
        std::string table = "colour\tuses\tpixels\n";
        for (const PaletteRow& row : BuildPalette(skin.lines, skin.pictures))
            table += ColorName(row.color) + "\t" + row.Uses() + "\t" + std::to_string(row.Pixels()) + "\n";
        PrintOutBytes(table);
    });
}

std::vector<QCommandLineOption> RecolorOptions()
{
    return {
        QCommandLineOption({QStringLiteral("o"), QStringLiteral("output")},
                           QStringLiteral("the folder to write the recoloured skin into (made when missing)"),
                           QStringLiteral("OUT_DIR")),
        QCommandLineOption(QStringLiteral("hue"), QStringLiteral("degrees to turn every hue by"), QStringLiteral("DEG")),
        QCommandLineOption(QStringLiteral("chroma"), QStringLiteral("scale of every chroma (1: as it is)"),
                           QStringLiteral("F")),
        QCommandLineOption(QStringLiteral("lightness"), QStringLiteral("scale of every lightness (1: as it is)"),
                           QStringLiteral("F")),
        QCommandLineOption(QStringLiteral("neutrals"),
                           QStringLiteral("change greys, black and white too (they are kept otherwise)")),
        QCommandLineOption(QStringLiteral("map"),
                           QStringLiteral("replace one colour by another, after the edition; may be repeated"),
                           QStringLiteral("RRGGBB=RRGGBB")),
    };
}

int RunRecolor(CommandContext& context)
{
    const RecolorJob job = ReadRecolorJob(context); // UsageError goes to main
    return RunDrawing(context, [&] {
        const SkinOnDisk skin = ReadSkin(job.skinDir);
        EditionResult edition = EditionOf(BuildPalette(skin.lines, skin.pictures), job.edition);
        for (const auto& [from, to] : job.replacements)
            edition.map[from] = to;
        const QString folder = OutputFolder(job.output, job.skinDir);

        SkinLines lines = skin.lines;
        for (RecoloredLine& line : RecolorLines(lines, edition.map))
            lines.Replace(line.index, std::move(line.text));
        SkinFileSet files;
        for (int number = 0; number < SkinPictureCount; ++number) {
            if (const auto& gif = skin.gifs[static_cast<std::size_t>(number)])
                files.emplace_back(PictureFileName(number), RecolorGif(*gif, edition.map));
        }
        files.emplace_back(QString::fromLatin1(DescriptionFileName), JoinTextLines(lines.Lines()));
        for (const std::string& notice : WriteSkinFiles(folder, files))
            PrintErrBytes(notice + "\n");

        std::string report = "Recoloured " + std::to_string(edition.map.size()) + " colours into "
                             + DisplayPath(folder) + "; " + std::to_string(edition.clamped.size())
                             + " lost chroma to fit into sRGB";
        for (std::size_t i = 0; i < edition.clamped.size(); ++i)
            report += (i == 0 ? ": " : ", ") + ColorName(edition.clamped[i]);
        PrintOutBytes(report + "\n");
    });
}
