#pragma once
// Pictures the programs export, written as PNG files.
#include <QImage>
#include <QString>

// Writes image as a PNG whole or not at all, leaving any former file as it was on
// failure. Through a symbolic link, the file it names is written and the link stays;
// a named pipe or a device is refused. Throws "Cannot create file ...".
void WritePng(const QImage& image, const QString& path);
