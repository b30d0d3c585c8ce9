#include "WindowFont.h"

#include <QApplication>
#include <QFontDatabase>

namespace {

constexpr const char* CondensedFaceFile = "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed.ttf";

// The condensed face's family, or empty when its file cannot be loaded.
QString CondensedFamily()
{
    static const QString family = [] {
        const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(CondensedFaceFile));
        return id < 0 ? QString() : QStringLiteral("DejaVu Sans Condensed");
    }();
    return family;
}

} // namespace

QFont WindowFont()
{
    QFont font = QApplication::font();
    const QString condensed = CondensedFamily();
    if (!condensed.isEmpty()) {
        // "W:" needs 12 of its 13 pixels, "Enabled:" 43 of 48.
        font.setFamily(condensed);
        font.setPixelSize(11);
    } else {
        // Without the condensed face the regular one fits at 10 pixels.
        font.setPixelSize(10);
    }
    return font;
}
