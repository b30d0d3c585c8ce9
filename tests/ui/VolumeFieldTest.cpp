#include "VolumeField.h"

#include <QApplication>
#include <QFocusEvent>
#include <QTest>

#include <gtest/gtest.h>

namespace {

void Retype(VolumeField& field, const QString& keys)
{
    field.selectAll();
    QTest::keyClick(&field, Qt::Key_Delete);
    QTest::keyClicks(&field, keys);
}

void LoseFocus(QWidget& widget)
{
    QFocusEvent event(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(&widget, &event);
}

} // namespace

TEST(VolumeField, OutOfRangeTextIsReadAsTypedAndCorrectedOnLeaving)
{
    VolumeField field;
    Retype(field, "9");
    EXPECT_EQ(field.text(), "9");
    EXPECT_EQ(field.Value(), 9); // what the preview draws meanwhile, past the bar's end
    LoseFocus(field);
    EXPECT_EQ(field.text(), "7");

    Retype(field, "");
    EXPECT_EQ(field.Value(), 0);
    Retype(field, "-");
    EXPECT_EQ(field.Value(), 0);
    LoseFocus(field);
    EXPECT_EQ(field.text(), "0");
}

TEST(VolumeField, HoldsOneCharacterAndRefusesLetters)
{
    VolumeField field;
    Retype(field, "34");
    EXPECT_EQ(field.text(), "3");
    Retype(field, "x");
    EXPECT_EQ(field.text(), "");
}

TEST(VolumeField, StepsByOneWithinTheRangeAlsoFromAnOutOfRangeText)
{
    VolumeField field;
    field.SetValue(6);
    int changes = 0;
    QObject::connect(&field, &VolumeField::Changed, [&] { ++changes; });
    QTest::keyClick(&field, Qt::Key_Up);
    QTest::keyClick(&field, Qt::Key_Up);
    EXPECT_EQ(field.text(), "7");
    EXPECT_EQ(changes, 1);

    field.SetValue(1);
    QTest::keyClick(&field, Qt::Key_Down);
    QTest::keyClick(&field, Qt::Key_Down);
    EXPECT_EQ(field.text(), "0");

    Retype(field, "9");
    field.stepBy(-1);
    EXPECT_EQ(field.text(), "6");
}
