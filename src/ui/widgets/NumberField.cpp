#include "NumberField.h"

#include "KeyNotifier.h"
#include "SkinNumbers.h"

#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>
#include <limits>

namespace {

constexpr std::int64_t Lowest = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t Highest = std::numeric_limits<std::int32_t>::max();

// A printable character typed without a shortcut modifier (Ctrl+V and the like
// are editing commands, not characters).
bool IsTypedText(const QKeyEvent& event)
{
    return !event.text().isEmpty() && event.text().front().isPrint()
        && !(event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

bool IsNumberText(const QString& text, const QString& decimalSeparator)
{
    return std::all_of(text.begin(), text.end(), [&](QChar c) {
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('+') || c == QLatin1Char('-')
            || decimalSeparator.contains(c);
    });
}

} // namespace

NumberField::NumberField(QWidget* parent) : QAbstractSpinBox(parent)
{
    auto* keys = new KeyNotifier(this);
    connect(keys, &KeyNotifier::KeyDown, this, &NumberField::KeyDown);
    connect(keys, &KeyNotifier::KeyUp, this, &NumberField::KeyUp);
    connect(lineEdit(), &QLineEdit::textEdited, this, &NumberField::Edited);
    SetValue(0);
}

std::int32_t NumberField::Value() const
{
    // The edit's own text: text() shows line breaks and NULs as blanks.
    return TryParseSkinInt(lineEdit()->text().toLatin1().toStdString()).value_or(0);
}

void NumberField::SetValue(std::int32_t value)
{
    SetText(QString::number(value));
}

void NumberField::SetText(const QString& text)
{
    if (lineEdit()->text() != text)
        lineEdit()->setText(text);
}

void NumberField::stepBy(int steps)
{
    // The buttons, keys and wheel step: the user's change, told as a typed one is.
    const QString before = lineEdit()->text();
    SetValue(static_cast<std::int32_t>(std::clamp<std::int64_t>(std::int64_t{Value()} + steps, Lowest, Highest)));
    selectAll();
    if (lineEdit()->text() != before)
        emit Edited();
}

QAbstractSpinBox::StepEnabled NumberField::stepEnabled() const
{
    // No bounds: a step past the 32-bit limits is stopped by stepBy.
    return StepUpEnabled | StepDownEnabled;
}

void NumberField::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_PageUp:   // steps are 1 only, with Up and Down
    case Qt::Key_PageDown:
        event->accept();
        return;
    default:
        break;
    }
    if (IsTypedText(*event) && !IsNumberText(event->text(), locale().decimalPoint())) {
        event->accept();
        return;
    }
    QAbstractSpinBox::keyPressEvent(event);
}
