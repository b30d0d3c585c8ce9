#pragma once
// A whole-number field with up/down buttons and no bounds: the position and size
// fields of the property editor. Steps by 1 (buttons, Up and Down keys); only
// digits, "+", "-" and the decimal separator can be typed, Enter is refused, and
// the text may stay empty or hold anything pasted. The value is the text read by
// the description file's number rule, or 0 when it is not a number.
#include <QAbstractSpinBox>

#include <cstdint>

class NumberField : public QAbstractSpinBox {
    Q_OBJECT

public:
    explicit NumberField(QWidget* parent = nullptr);

    std::int32_t Value() const;
    // An equal text is left alone, and with it the cursor.
    void SetValue(std::int32_t value);
    void SetText(const QString& text);

    // Stops at the 32-bit limits instead of wrapping round.
    void stepBy(int steps) override;

signals:
    void Edited(); // the user typed, pasted or stepped a new text; never the program
    void KeyDown(int key, Qt::KeyboardModifiers shift);
    void KeyUp(int key, Qt::KeyboardModifiers shift);

protected:
    StepEnabled stepEnabled() const override;
    void keyPressEvent(QKeyEvent* event) override;
};
