#include "PreviewSettingsPanel.h"

#include "Placement.h"
#include "SkinFormat.h"
#include "VolumeField.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

namespace {

QComboBox* DropDownList(QWidget* parent, const QStringList& entries, int current)
{
    auto* list = new QComboBox(parent);
    list->addItems(entries);
    list->setCurrentIndex(current);
    return list;
}

} // namespace

PreviewSettingsPanel::PreviewSettingsPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PreviewSettings"));
    // Fixed positions, as everywhere in the main window.
    resize(129, 70);
    VolumeCB = Place(new QCheckBox(QStringLiteral("Volume"), this), "VolumeCB", 0, 0, 65, 17);
    VolEdit1 = Place(new VolumeField(this), "VolEdit1", 72, 0, 57, 22);
    VolEdit1->SetValue(2);

    Label1 = new QLabel(QStringLiteral("Enabled:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(0, 24);
    Label1->adjustSize();

    QStringList states;
    for (const char* name : PlayStateNames)
        states << QString::fromLatin1(name);
    PlayStatus = Place(DropDownList(this, states, 1), "PlayStatus", 48, 24, 81, 22);
    RepetitionSt = Place(DropDownList(this, {QStringLiteral("Repetition-One"), QStringLiteral("Repetition-All")}, 0),
                         "RepetitionSt", 0, 48, 129, 22);

    connect(VolumeCB, &QCheckBox::toggled, this, &PreviewSettingsPanel::Emit);
    connect(VolEdit1, &VolumeField::Changed, this, &PreviewSettingsPanel::Emit);
    connect(VolEdit1, &VolumeField::Clicked, this, &PreviewSettingsPanel::Emit);
    connect(PlayStatus, &QComboBox::currentIndexChanged, this, &PreviewSettingsPanel::Emit);
    connect(RepetitionSt, &QComboBox::currentIndexChanged, this, &PreviewSettingsPanel::Emit);
}

QWidget* PreviewSettingsPanel::VolumeShown() const
{
    return VolumeCB;
}

QWidget* PreviewSettingsPanel::VolumeLevel() const
{
    return VolEdit1;
}

QWidget* PreviewSettingsPanel::PlayState() const
{
    return PlayStatus;
}

QWidget* PreviewSettingsPanel::Repetition() const
{
    return RepetitionSt;
}

PreviewSettings PreviewSettingsPanel::Settings() const
{
    PreviewSettings settings;
    settings.playState = PlayStatus->currentIndex();
    settings.repetition = RepetitionSt->currentIndex();
    settings.volumeShown = VolumeCB->isChecked();
    settings.volumeLevel = VolEdit1->Value();
    return settings;
}

void PreviewSettingsPanel::Emit()
{
    emit Changed(Settings());
}
