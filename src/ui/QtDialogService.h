#pragma once
// The real dialogs: Qt file, colour and message boxes, owned by the main window.
#include "DialogService.h"

class QWidget;

class QtDialogService : public DialogService {
public:
    explicit QtDialogService(QWidget* owner);

    void ShowError(const QString& title, const QString& text) override;
    void ShowWarning(const QString& title, const QString& text) override;
    UnsavedChangesAnswer AskUnsavedChanges(const QString& text, bool offerSave) override;
    OpenedFolderAnswer AskWriteIntoOpened(const QString& text) override;
    void ShowModal(QDialog& dialog) override;
    bool Confirm(const QString& text) override;

protected:
    std::optional<QString> RunFileDialog(const FileDialogSettings& settings, const QString& initialFile) override;
    std::optional<QColor> RunColorDialog(const QColor& initial, const std::vector<QColor>& custom) override;
    std::optional<int> RunScaleDialog(const QString& title, int initial, int maximum) override;
    std::optional<QString> RunLineDialog(const QString& title, const QString& text) override;

private:
    QWidget* owner_;
};
