#include "BenchSkin.h"

#include "GifPicture.h"
#include "TextFile.h"

QString ExampleSkinPath()
{
    return QStringLiteral(VELLUMARK_SOURCE_DIR "/examples/skins/harbour/Ruvex.rvk");
}

SkinDocument LoadExampleDocument()
{
    SkinDocument document;
    document.Pictures[StatusLineSlot] = LoadGifFile(QStringLiteral(VELLUMARK_SOURCE_DIR "/assets/Files/statusline.gif"));
    document.LangLines = ReadTextLines(QStringLiteral(VELLUMARK_SOURCE_DIR "/assets/Files/LangRuvex.txt"));
    document.LoadSkin(ExampleSkinPath());
    return document;
}

std::vector<std::string> PaddedExampleLines(int count)
{
    std::vector<std::string> lines = ReadTextLines(ExampleSkinPath());
    for (int i = 0; i < count; ++i)
        lines.push_back("; padding comment " + std::to_string(i) + ": x  y  w  h  color");
    return lines;
}
