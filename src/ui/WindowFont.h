#pragma once
// The font of the program's windows: DejaVu Sans Condensed at 11 pixels, the face
// and size the fixed control positions were laid out for, loaded from its file where
// the system does not list it, so every caption fits its room whatever the desktop's
// default face is.
#include <QFont>

QFont WindowFont();
