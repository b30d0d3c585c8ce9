#include "EditionDialog.h"

#include "DialogService.h"
#include "EditingSession.h"
#include "ErrorReporter.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QDoubleSpinBox* Field(QWidget* parent, const char* name, double low, double high, double step, double value)
{
    auto* field = new QDoubleSpinBox(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setRange(low, high);
    field->setSingleStep(step);
    field->setDecimals(2);
    field->setValue(value);
    return field;
}

} // namespace

EditionDialog::EditionDialog(EditingSession& session, DialogService& dialogs, const ErrorReporter& errors,
                             QWidget* parent)
    : QDialog(parent), session_(session), palette_(session.Palette())
{
    setObjectName(QStringLiteral("EditionDialog"));
    setWindowTitle(QStringLiteral("Edition"));
    hue_ = Field(this, "EditionHue", -360, 360, 5, 0);
    hue_->setSuffix(QStringLiteral("\u00B0"));
    chroma_ = Field(this, "EditionChroma", 0, 4, 0.05, 1);
    lightness_ = Field(this, "EditionLightness", 0, 4, 0.05, 1);
    neutrals_ = new QCheckBox(QStringLiteral("Change greys, black and white too"), this);
    neutrals_->setObjectName(QStringLiteral("EditionNeutrals"));
    clamped_ = new QLabel(this);
    clamped_->setObjectName(QStringLiteral("EditionClamped"));
    clamped_->setWordWrap(true);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Hue"), hue_);
    form->addRow(QStringLiteral("Chroma \u00D7"), chroma_);
    form->addRow(QStringLiteral("Lightness \u00D7"), lightness_);
    form->addRow(neutrals_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    QPushButton* apply = buttons->addButton(QStringLiteral("Apply"), QDialogButtonBox::AcceptRole);
    apply->setObjectName(QStringLiteral("EditionApply"));
    apply->setDefault(true);
    QPushButton* saveAs = buttons->addButton(QStringLiteral("Save edition as\u2026"), QDialogButtonBox::ActionRole);
    saveAs->setObjectName(QStringLiteral("EditionSaveAs"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(clamped_);
    layout->addWidget(buttons);

    for (QDoubleSpinBox* field : {hue_, chroma_, lightness_})
        connect(field, &QDoubleSpinBox::valueChanged, this, [this, &errors] { errors.Run([this] { Update(); }); });
    connect(neutrals_, &QCheckBox::toggled, this, [this, &errors] { errors.Run([this] { Update(); }); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(saveAs, &QPushButton::clicked, this, [this, &dialogs, &errors] {
        errors.Run([&] {
            if (const auto folder = dialogs.ChooseNewSkinFolder())
                session_.SaveRecoloredAs(result_.map, *folder);
        });
    });
    // Whatever ends the dialog ends the preview with it.
    connect(this, &QDialog::finished, this, [this, &errors] {
        errors.Run([this] { session_.PreviewColors(std::nullopt); });
    });
    Update();
}

EditionDialog::~EditionDialog()
{
    try {
        session_.PreviewColors(std::nullopt);
    } catch (const std::exception&) {
        // the drawing's error was reported when the preview was drawn
    }
}

void EditionDialog::Update()
{
    const Edition edition{static_cast<float>(hue_->value()), static_cast<float>(chroma_->value()),
                          static_cast<float>(lightness_->value()), neutrals_->isChecked()};
    result_ = EditionOf(palette_, edition);
    QString names;
    for (const QRgb color : result_.clamped)
        names += (names.isEmpty() ? QString() : QStringLiteral(", ")) + QString::fromLatin1(ColorName(color));
    clamped_->setText(names.isEmpty() ? QStringLiteral("Every colour fits into sRGB.")
                                      : QStringLiteral("Lost chroma to fit into sRGB: %1").arg(names));
    session_.PreviewColors(result_.map);
}

QString EditionDialog::StepName() const
{
    return QStringLiteral("Edition: hue %1%2\u00B0, chroma \u00D7%3, lightness \u00D7%4")
        .arg(hue_->value() > 0 ? QStringLiteral("+") : QString())
        .arg(hue_->value())
        .arg(chroma_->value())
        .arg(lightness_->value());
}
