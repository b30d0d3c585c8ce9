#pragma once
// The volume level field of the preview settings: a one-character whole number with
// up/down buttons, 0 to 7. A typed value outside the range is kept while typing and
// brought to the nearer limit when the field loses the focus.
#include <QAbstractSpinBox>

class VolumeField : public QAbstractSpinBox {
    Q_OBJECT

public:
    static constexpr int Minimum = 0;
    static constexpr int Maximum = 7;

    explicit VolumeField(QWidget* parent = nullptr);

    // The text as a whole number, as typed (8 and 9 too); 0 when it is empty or not a number.
    int Value() const;
    void SetValue(int value);

    void stepBy(int steps) override;

signals:
    void Changed(); // the text changed, typed or stepped
    void Clicked(); // a mouse click in the text

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    StepEnabled stepEnabled() const override;
    void focusOutEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};
