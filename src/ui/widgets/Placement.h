#pragma once
// Controls sit at fixed positions, named so that code and tests can find them.
#include <QString>
#include <QWidget>

template <typename Widget>
Widget* Place(Widget* widget, const char* name, int left, int top, int width, int height)
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(left, top, width, height);
    return widget;
}
