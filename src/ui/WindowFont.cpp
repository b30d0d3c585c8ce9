#include "WindowFont.h"

#include <QApplication>

QFont WindowFont()
{
    QFont font = QApplication::font();
    // 11 pixels (8 points at 96 dpi) keeps every caption inside its control.
    font.setPixelSize(11);
    return font;
}
