#pragma once
// Which sample texts the preview prints: the asset's (Shipped), Long, Short, or the
// author's own (Custom). The choice and the Custom texts are remembered between runs
// (QSettings "SampleTexts/set" and "SampleTexts/custom"); the chosen texts go to the
// session, whose every drawing uses them, so each view follows them as it follows an
// edit. Nothing here reaches the skin or its history.
#include "SampleTextSets.h"

#include <QObject>
#include <QSettings>
#include <QString>
#include <QStringList>

class EditingSession;

class SampleTextChoice : public QObject {
    Q_OBJECT

public:
    // Takes up the choice remembered from the last run.
    SampleTextChoice(EditingSession& session, QObject* parent);

    SampleTextSet Set() const { return set_; }
    // The ten texts of the chosen set; a Shipped text the asset lacks is empty.
    QStringList Texts() const;

    // Both redraw the open skin with the new texts, and throw SkinError as a drawing does.
    void Choose(SampleTextSet set);
    // Text index (0 to 9) becomes text, a keystroke at a time: Custom is chosen, and
    // when another set was shown Custom starts from its texts.
    void SetText(int index, const QString& text);

signals:
    void Changed();

private:
    QStringList TextsOf(SampleTextSet set) const;
    void Apply();

    EditingSession& session_;
    SampleTextSet set_ = SampleTextSet::Shipped;
    QStringList custom_; // empty until the author first makes Custom
    // Kept open: it writes to disk from the event loop, not on every keystroke.
    QSettings settings_;
};
