#include "BenchSkin.h"

#include "SkinLoader.h"
#include "TextFile.h"

QString ExampleSkinPath()
{
    return QStringLiteral(VELLUMARK_SOURCE_DIR "/examples/skins/harbour/Ruvex.rvk");
}

SkinDocument LoadExampleDocument()
{
    SkinDocument document;
    LoadAssets(document, AssetFilesIn(QStringLiteral(VELLUMARK_SOURCE_DIR "/assets")));
    LoadSkin(document, ExampleSkinPath());
    return document;
}

std::vector<std::string> PaddedExampleLines(int count)
{
    std::vector<std::string> lines = ReadTextLines(ExampleSkinPath());
    for (int i = 0; i < count; ++i)
        lines.push_back("; padding comment " + std::to_string(i) + ": x  y  w  h  color");
    return lines;
}
