#pragma once
// The font of the program's windows: the platform's default face at the size the
// fixed control positions were laid out for.
#include <QFont>

QFont WindowFont();
