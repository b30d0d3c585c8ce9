#include "NumberField.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <limits>

namespace {

// What the field reported, in order: "down:<text>", "changed:<text>", "up:<text>".
struct Recorder {
    explicit Recorder(NumberField& field)
    {
        QObject::connect(&field, &NumberField::KeyDown, [&, this] { events << "down:" + field.text(); });
        QObject::connect(&field, &NumberField::Edited, [&, this] { events << "changed:" + field.text(); });
        QObject::connect(&field, &NumberField::KeyUp, [&, this] { events << "up:" + field.text(); });
    }
    QStringList events;
};

} // namespace

TEST(NumberField, OnlyNumberCharactersCanBeTypedWhileEditingKeysWork)
{
    NumberField field;
    field.setLocale(QLocale::c());
    field.SetText("");
    QTest::keyClicks(&field, "-1a2 x+3.4,5");
    EXPECT_EQ(field.text(), "-12+3.45");

    QTest::keyClick(&field, Qt::Key_Backspace);
    QTest::keyClick(&field, Qt::Key_Home);
    QTest::keyClick(&field, Qt::Key_Delete);
    EXPECT_EQ(field.text(), "12+3.4");

    QTest::keyClick(&field, Qt::Key_Return);
    QTest::keyClick(&field, Qt::Key_Enter);
    EXPECT_EQ(field.text(), "12+3.4");

    // The separator typed is the locale's.
    field.setLocale(QLocale(QLocale::German));
    field.SetText("");
    QTest::keyClicks(&field, "1.2,3");
    EXPECT_EQ(field.text(), "12,3");
}

TEST(NumberField, TheValueIsTheTextReadAsASkinNumberOrZero)
{
    const std::vector<std::pair<QString, std::int32_t>> cases = {
        {"17", 17}, {"+17", 17}, {"-17", -17}, {"", 0}, {"-", 0}, {"+", 0}, {"1.5", 0}, {"1,5", 0},
        {"2147483647", 2147483647}, {"2147483648", 0}, {"-2147483648", std::numeric_limits<std::int32_t>::min()},
        {"0x1F", 31}, {"$10", 16}, {"xFFFFFFFF", -1}, {" 5", 0}, {"5 ", 0}, {"12\n3", 0}, {"7\r\n", 0},
        {QString("4") + QChar(0) + "2", 0}, {QString::fromUtf8("\xD9\xA3"), 0}};
    NumberField field;
    for (const auto& [text, value] : cases) {
        field.SetText(text);
        EXPECT_EQ(field.Value(), value) << text.toStdString();
    }
}

TEST(NumberField, StepsByOneWithoutBoundsButStopsAtTheThirtyTwoBitLimits)
{
    // text before, key, text after
    const std::vector<std::tuple<QString, Qt::Key, QString>> steps = {
        {"", Qt::Key_Up, "1"}, {"abc", Qt::Key_Down, "-1"}, {"-1000000", Qt::Key_Down, "-1000001"},
        {"5", Qt::Key_PageUp, "5"}, {"5", Qt::Key_PageDown, "5"},
        {"2147483647", Qt::Key_Up, "2147483647"}, {"-2147483648", Qt::Key_Down, "-2147483648"}};
    NumberField field;
    for (const auto& [before, key, after] : steps) {
        field.SetText(before);
        QTest::keyClick(&field, key);
        EXPECT_EQ(field.text(), after) << before.toStdString();
    }
}

TEST(NumberField, ReportsEveryKeyDownBeforeAndEveryKeyUpAfterTheChange)
{
    NumberField field;
    Recorder recorder(field);
    QTest::keyClick(&field, Qt::Key_End);
    QTest::keyClick(&field, Qt::Key_5);
    QTest::keyClick(&field, Qt::Key_Shift);
    QTest::keyClick(&field, Qt::Key_Left);
    QTest::keyClick(&field, Qt::Key_A); // refused, still reported
    QTest::keyClick(&field, Qt::Key_Up);
    EXPECT_EQ(recorder.events, (QStringList{"down:0", "up:0", "down:0", "changed:05", "up:05", "down:05", "up:05",
                                            "down:05", "up:05", "down:05", "up:05", "down:05", "changed:6", "up:6"}));

    // A held key repeats its key down, and is let go once.
    recorder.events.clear();
    QTest::keyPress(&field, Qt::Key_Left);
    for (QEvent::Type type : {QEvent::KeyRelease, QEvent::KeyPress}) {
        QKeyEvent repeat(type, Qt::Key_Left, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(&field, &repeat);
    }
    QTest::keyRelease(&field, Qt::Key_Left);
    EXPECT_EQ(recorder.events, (QStringList{"down:6", "down:6", "up:6"}));

    // What the program sets is no edit of the user's.
    recorder.events.clear();
    field.SetValue(-3);
    EXPECT_EQ(recorder.events, QStringList{});
}
