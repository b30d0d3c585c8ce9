#include "VolumeField.h"

#include <QLineEdit>
#include <QMouseEvent>

#include <algorithm>

VolumeField::VolumeField(QWidget* parent) : QAbstractSpinBox(parent)
{
    lineEdit()->setMaxLength(1);
    lineEdit()->installEventFilter(this);
    connect(lineEdit(), &QLineEdit::textChanged, this, &VolumeField::Changed);
    SetValue(Minimum);
}

int VolumeField::Value() const
{
    // Unclamped while typing: a level of 8 or 9 fills past the bar until the field
    // loses the focus.
    bool ok = false;
    const int typed = text().toInt(&ok);
    return ok ? typed : Minimum;
}

void VolumeField::SetValue(int value)
{
    const QString shown = QString::number(std::clamp(value, Minimum, Maximum));
    if (text() != shown)
        lineEdit()->setText(shown);
}

void VolumeField::stepBy(int steps)
{
    SetValue(std::clamp(Value(), Minimum, Maximum) + steps);
    selectAll();
}

QValidator::State VolumeField::validate(QString& input, int& /*pos*/) const
{
    // The characters a whole number may begin with; a lone sign counts as 0.
    static const QString typeable = QStringLiteral("0123456789+-");
    if (input.isEmpty() || (input.size() == 1 && typeable.contains(input.front())))
        return QValidator::Acceptable;
    return QValidator::Invalid;
}

QAbstractSpinBox::StepEnabled VolumeField::stepEnabled() const
{
    StepEnabled enabled = StepNone;
    const int value = std::clamp(Value(), Minimum, Maximum);
    if (value < Maximum)
        enabled |= StepUpEnabled;
    if (value > Minimum)
        enabled |= StepDownEnabled;
    return enabled;
}

void VolumeField::focusOutEvent(QFocusEvent* event)
{
    QAbstractSpinBox::focusOutEvent(event);
    SetValue(Value());
}

bool VolumeField::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lineEdit() && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        emit Clicked();
    return QAbstractSpinBox::eventFilter(watched, event);
}
