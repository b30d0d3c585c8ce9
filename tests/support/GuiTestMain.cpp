// main() of the test programs that need a QGuiApplication (fonts, painting): runs
// offscreen unless QT_QPA_PLATFORM says otherwise, so no display is needed.
#include <QGuiApplication>

#include "QuietQt.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    DropHarmlessQtNotes();
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
