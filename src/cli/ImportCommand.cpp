// vellumark-skin import: a picture of any kind Qt reads made into a skin's GIF,
// as the editor's Replace from file converts it.
#include "CliCommand.h"

#include "FilePaths.h"
#include "GifConversion.h"
#include "GifFile.h"
#include "PictureImport.h"
#include "ReplacementFile.h"
#include "SkinError.h"
#include "TextFile.h"

namespace {

struct ImportJob {
    QString picture;
    QString output;
    QString palette; // empty: a palette of the picture's own
    ConversionOptions options;
};

QByteArray ReadPictureBytes(const QString& path)
{
    const std::string bytes = ReadFileBytes(path, MaxPictureFileBytes);
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

ImportJob ReadImportJob(const CommandContext& context)
{
    const QCommandLineParser& parser = context.parser;
    ImportJob job;
    if (context.positional.size() != 1 || context.positional.front().isEmpty())
        throw UsageError("The command \"import\" needs one PICTURE");
    job.picture = context.positional.front();
    const QStringList outputs = parser.values(QStringLiteral("output"));
    if (outputs.size() != 1 || outputs.front().isEmpty())
        throw UsageError("The command \"import\" needs one -o N.gif");
    job.output = outputs.front();
    // What is written is GIF data: another name would hide that from whoever opens it.
    if (!job.output.endsWith(QLatin1String(".gif"), Qt::CaseInsensitive))
        throw UsageError("-o " + Quoted(job.output) + ": the name must end in \".gif\"");
    if (parser.isSet(QStringLiteral("colours"))) {
        const QString value = parser.value(QStringLiteral("colours"));
        bool ok = false;
        job.options.colors = value.toInt(&ok);
        if (!ok || job.options.colors < MinGifColors || job.options.colors > MaxGifColors)
            throw UsageError("Invalid --colours " + Quoted(value) + " (" + std::to_string(MinGifColors) + " to "
                             + std::to_string(MaxGifColors) + ")");
    }
    job.options.dither = parser.isSet(QStringLiteral("dither"));
    if (parser.isSet(QStringLiteral("palette"))) {
        job.palette = parser.value(QStringLiteral("palette"));
        if (job.palette.isEmpty())
            throw UsageError("Option \"--palette\" needs a file name");
        if (parser.isSet(QStringLiteral("colours")))
            throw UsageError("--colours and --palette do not go together: the palette's colours are used");
    }
    return job;
}

} // namespace

std::vector<QCommandLineOption> ImportOptions()
{
    return {
        QCommandLineOption({QStringLiteral("o"), QStringLiteral("output")},
                           QStringLiteral("the GIF to write (a link is written through)"), QStringLiteral("N.gif")),
        QCommandLineOption(QStringLiteral("colours"),
                           QStringLiteral("colours at most, the transparent one included: 2 to 256 (default)"),
                           QStringLiteral("N")),
        QCommandLineOption(QStringLiteral("dither"), QStringLiteral("diffuse the error where colours are reduced")),
        QCommandLineOption(QStringLiteral("palette"),
                           QStringLiteral("use the colours of this GIF, in its order, with its transparent index"),
                           QStringLiteral("GIF")),
    };
}

int RunImport(CommandContext& context)
{
    ImportJob job = ReadImportJob(context); // UsageError goes to main
    return RunDrawing(context, [&] {
        // Qt's readers of some kinds are plug-ins: they need the application made here.
        if (!job.palette.isEmpty()) {
            const QByteArray bytes = ReadPictureBytes(job.palette);
            GifColors colors;
            try {
                DecodeGif(bytes, &colors);
            } catch (const SkinError& error) {
                throw SkinError(PictureReadError(job.palette, error.what()));
            }
            job.options.palette = std::move(colors);
        }
        const QByteArray bytes = ReadPictureBytes(job.picture);
        QImage picture;
        try {
            picture = DecodePicture(bytes);
        } catch (const SkinError& error) {
            throw SkinError(PictureReadError(job.picture, error.what()));
        }
        const ConvertedGif converted = ConvertToGif(picture, job.options);
        // A GIF named through a link goes where the link points; a pipe or a device is refused.
        WriteFileReplacing(job.output,
                           std::string_view(converted.gif.constData(), static_cast<std::size_t>(converted.gif.size())),
                           LinkPolicy::WriteThrough);
        PrintOut(ConversionSummary(converted) + QLatin1Char('\n'));
    });
}
