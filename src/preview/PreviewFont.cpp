#include "PreviewFont.h"

#include <QFile>
#include <QFontDatabase>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cstdint>

QString PreviewFontFamily()
{
    static const QString family = [] {
        static constexpr std::array<const char*, 4> files = {
            PreviewFontFile,
            "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
            "/usr/share/fonts/truetype/dejavu/DejaVuSans-Oblique.ttf",
            "/usr/share/fonts/truetype/dejavu/DejaVuSans-BoldOblique.ttf",
        };
        QString loaded;
        for (const char* file : files) {
            const QString path = QString::fromLatin1(file);
            if (!QFile::exists(path))
                continue;
            const int id = QFontDatabase::addApplicationFont(path);
            if (id < 0 || !loaded.isEmpty())
                continue;
            const QStringList families = QFontDatabase::applicationFontFamilies(id);
            if (!families.isEmpty())
                loaded = families.front();
        }
        return loaded.isEmpty() ? QString::fromLatin1(PreviewFontFallbackFamily) : loaded;
    }();
    return family;
}

QFont PreviewFont(int size, FontStyleSet style)
{
    QFont font(PreviewFontFamily());
    if (size <= 0)
        font.setPixelSize(PreviewFontPixelSize);
    else
        font.setPixelSize(std::max(1, static_cast<int>((static_cast<std::int64_t>(std::min(size, 10000)) * 96 + 36) / 72)));
    font.setStyleStrategy(QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setBold((style & FontBold) != 0);
    font.setItalic((style & FontItalic) != 0);
    return font;
}
