#pragma once
// The four settings beneath the preview that choose which of the skin's state-dependent
// pictures and bars it shows: Volume (VolumeCB), the volume level (VolEdit1), the play
// state (PlayStatus) and the repetition mode (RepetitionSt).
#include "PreviewRenderer.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class VolumeField;

class PreviewSettingsPanel : public QWidget {
    Q_OBJECT

public:
    // Its size is that of the four controls; the owner places it.
    explicit PreviewSettingsPanel(QWidget* parent = nullptr);

    PreviewSettings Settings() const;

    // The controls, for the window's focus order.
    QWidget* VolumeShown() const;
    QWidget* VolumeLevel() const;
    QWidget* PlayState() const;
    QWidget* Repetition() const;

signals:
    // Any of the four changed, or the volume level was clicked.
    void Changed(const PreviewSettings& settings);

private:
    void Emit();

    QCheckBox* VolumeCB = nullptr;
    VolumeField* VolEdit1 = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* PlayStatus = nullptr;
    QComboBox* RepetitionSt = nullptr;
};
