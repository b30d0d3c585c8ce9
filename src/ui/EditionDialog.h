#pragma once
// Colours › Edition...: the whole skin turned in OKLCh (hue, chroma, lightness),
// shown live in the preview, the canvas and All states while the dialog is open.
// That is a preview, not a change: Cancel leaves nothing; Apply makes one step;
// "Save edition as..." writes the recoloured skin into another folder.
#include "SkinColors.h"

#include <QDialog>

class DialogService;
class EditingSession;
class ErrorReporter;
class QCheckBox;
class QDoubleSpinBox;
class QLabel;

class EditionDialog : public QDialog {
    Q_OBJECT

public:
    EditionDialog(EditingSession& session, DialogService& dialogs, const ErrorReporter& errors, QWidget* parent);
    ~EditionDialog() override;

    const EditionResult& Result() const { return result_; }
    // "Edition: hue +120°, chroma ×1, lightness ×1", the step's name.
    QString StepName() const;

private:
    void Update();

    EditingSession& session_;
    std::vector<PaletteRow> palette_;
    QDoubleSpinBox* hue_;
    QDoubleSpinBox* chroma_;
    QDoubleSpinBox* lightness_;
    QCheckBox* neutrals_;
    QLabel* clamped_;
    EditionResult result_;
};
