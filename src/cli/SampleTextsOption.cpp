// --texts: the sample texts a command draws with, from a file or one of the two
// built-in sets, and the warnings check finds with them.
#include "CliCommand.h"

#include "SampleTextSets.h"
#include "SkinError.h"
#include "SkinLoader.h"
#include "TextFile.h"
#include "TextFitWarnings.h"

QCommandLineOption SampleTextsOption()
{
    return QCommandLineOption(QStringLiteral("texts"),
                              QStringLiteral("sample texts: a file, or long or short for the built-in sets (default: "
                                             "Files/LangRuvex.txt beside the executable)"),
                              QStringLiteral("FILE|long|short"));
}

TextLines ReadSampleTexts(const QString& value)
{
    if (value == QLatin1String("long"))
        return LongSampleTexts();
    if (value == QLatin1String("short"))
        return ShortSampleTexts();
    return ReadTextLines(value.isEmpty() ? AssetFilesIn(RunningExecutableFolder()).texts : value);
}

std::vector<SkinProblem> SampleTextWarnings(const std::string& description, const TextLines& texts)
{
    // Where a text is drawn depends on its line alone: the pictures are not decoded
    // (fifteen large ones would cost check seconds for nothing).
    SkinDocument document;
    try {
        document.Lines.Assign(SplitTextLines(description));
        document.ParseSkin();
    } catch (const SkinError&) {
        return {}; // not drawn, so nothing to warn of: its problems say why
    }
    // The editor's preview settings: the texts' places depend on none of them.
    QImage surface = NewPreviewSurface();
    std::vector<DrawnElement> drawn;
    DrawPreview(surface, document.Model, document.Pictures, texts, PreviewSettings{}, &drawn);
    return TextFitWarnings(drawn, document.Lines, texts);
}
