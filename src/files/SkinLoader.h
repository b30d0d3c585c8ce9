#pragma once
// The one way a skin comes into memory, for the editor and vellumark-skin alike:
// the two assets beside the executable (or files named instead), then the skin.
#include "GifFile.h"
#include "SkinDocument.h"

#include <QString>

#include <functional>

// The folder of the running executable after following links, ending in "/", so
// the program finds its "Files/" through a link in bin/ too.
QString RunningExecutableFolder();

// The sample texts and the status-line overlay.
struct AssetFiles {
    QString overlay; // "Files/statusline.gif"
    QString texts;   // "Files/LangRuvex.txt"
};

// The assets in "Files/" inside folder.
AssetFiles AssetFilesIn(const QString& executableFolder);

// Reads the description file and the pictures of its folder into document, then
// parses. A missing picture keeps its slot; an undecodable one stops the load there.
// Each picture is read by read (ReadSkinPicture when none is given), so a caller
// that keeps the pictures' bytes reads and decodes each file once.
using PictureReader = std::function<PictureReading(int number, const QString& file)>;
void LoadSkin(SkinDocument& document, const QString& path, const PictureReader& read = {});

// Loads the overlay into its slot and the sample texts. Both are tried, then every
// failure is reported in one message; texts that cannot be read leave the document
// without any.
void LoadAssets(SkinDocument& document, const AssetFiles& assets);
