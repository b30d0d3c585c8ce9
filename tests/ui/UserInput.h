#pragma once
// Controls driven as their user drives them: the value set, then the signal that
// only the user's own change fires, which is what the views act on.
#include "NumberField.h"

#include <QComboBox>
#include <QLineEdit>

inline void Choose(QComboBox* list, int index)
{
    list->setCurrentIndex(index);
    emit list->activated(index);
}

inline void Enter(NumberField* field, int value)
{
    field->SetValue(value);
    emit field->Edited();
}

inline void Enter(QLineEdit* edit, const QString& text)
{
    edit->setText(text);
    emit edit->textEdited(text);
}
