#include "WindowFont.h"

#include <QApplication>
#include <QFontDatabase>

namespace {

constexpr const char* CondensedFaceFile = "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed.ttf";

// The condensed face's family, or empty when it cannot be had. The system's fonts
// list it as a rule (fontconfig names it beside DejaVu Sans); only where they do not
// is its file registered, which reads the whole file at start-up.
QString CondensedFamily()
{
    static const QString family = [] {
        const QString name = QStringLiteral("DejaVu Sans Condensed");
        // Looked up in the list itself: hasFamily() first resolves the name through
        // fontconfig's rules, which costs more than the whole list.
        if (QFontDatabase::families().contains(name))
            return name;
        const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(CondensedFaceFile));
        return id < 0 ? QString() : name;
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
