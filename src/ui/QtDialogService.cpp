#include "QtDialogService.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

QtDialogService::QtDialogService(QWidget* owner) : owner_(owner) {}

namespace {

void ShowMessage(QWidget* owner, QMessageBox::Icon icon, const QString& title, const QString& text)
{
    QMessageBox box(icon, title, text, QMessageBox::Ok, owner);
    box.exec();
}

} // namespace

void QtDialogService::ShowError(const QString& title, const QString& text)
{
    ShowMessage(owner_, QMessageBox::Critical, title, text);
}

void QtDialogService::ShowWarning(const QString& title, const QString& text)
{
    ShowMessage(owner_, QMessageBox::Warning, title, text);
}

UnsavedChangesAnswer QtDialogService::AskUnsavedChanges(const QString& text, bool offerSave)
{
    QMessageBox box(QMessageBox::Warning, owner_ ? owner_->windowTitle() : QString(), text, QMessageBox::NoButton, owner_);
    box.setObjectName(QStringLiteral("UnsavedChangesBox"));
    QPushButton* save = offerSave ? box.addButton(QStringLiteral("Save"), QMessageBox::AcceptRole) : nullptr;
    QPushButton* saveAs = box.addButton(QStringLiteral("Save as..."), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(QStringLiteral("Discard"), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(save != nullptr ? save : saveAs);
    box.setEscapeButton(cancel);
    box.exec();
    if (save != nullptr && box.clickedButton() == save)
        return UnsavedChangesAnswer::Save;
    if (box.clickedButton() == saveAs)
        return UnsavedChangesAnswer::SaveAs;
    if (box.clickedButton() == discard)
        return UnsavedChangesAnswer::Discard;
    return UnsavedChangesAnswer::Cancel;
}

OpenedFolderAnswer QtDialogService::AskWriteIntoOpened(const QString& text)
{
    QMessageBox box(QMessageBox::Question, owner_ ? owner_->windowTitle() : QString(), text, QMessageBox::NoButton,
                    owner_);
    box.setObjectName(QStringLiteral("WriteIntoOpenedBox"));
    QPushButton* save = box.addButton(QStringLiteral("Save"), QMessageBox::AcceptRole);
    QPushButton* saveAs = box.addButton(QStringLiteral("Save as..."), QMessageBox::AcceptRole);
    QPushButton* cancel = box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save)
        return OpenedFolderAnswer::Save;
    if (box.clickedButton() == saveAs)
        return OpenedFolderAnswer::SaveAs;
    return OpenedFolderAnswer::Cancel;
}

void QtDialogService::ShowModal(QDialog& dialog)
{
    dialog.exec();
}

bool QtDialogService::Confirm(const QString& text)
{
    QMessageBox box(QMessageBox::Question, owner_ ? owner_->windowTitle() : QString(), text,
                    QMessageBox::Yes | QMessageBox::No, owner_);
    box.setObjectName(QStringLiteral("ConfirmBox"));
    box.setDefaultButton(QMessageBox::No); // Enter alone writes nothing
    return box.exec() == QMessageBox::Yes;
}

std::optional<QString> QtDialogService::RunLineDialog(const QString& title, const QString& text)
{
    QInputDialog dialog(owner_);
    dialog.setObjectName(QStringLiteral("LineTextDialog"));
    dialog.setWindowTitle(title);
    dialog.setLabelText(title + QStringLiteral(", as it stands in the file (written back as one undo step):"));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setTextValue(text);
    // Wide enough for a whole line of the file.
    dialog.resize(std::max(dialog.sizeHint().width(), 560), dialog.sizeHint().height());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

namespace {

// A folder dialog that also takes a typed name of a folder not made yet, in a folder
// that exists: it is made when the skin is written there. Qt's own refuses it.
class NewFolderDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

    void accept() override
    {
        const QStringList files = selectedFiles();
        if (fileMode() == Directory && files.size() == 1 && !QFileInfo::exists(files.front())
            && QFileInfo(QFileInfo(files.front()).absolutePath()).isDir()) {
            QDialog::accept();
            return;
        }
        QFileDialog::accept();
    }
};

} // namespace

std::optional<QString> QtDialogService::RunFileDialog(const FileDialogSettings& settings, const QString& initialFile)
{
    NewFolderDialog dialog(owner_);
    dialog.setObjectName(QString::fromLatin1(settings.objectName));
    if (settings.note != nullptr) {
        // Qt's own dialog has a grid to put the note under; a desktop's has none.
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
            auto* note = new QLabel(QString::fromLatin1(settings.note), &dialog);
            note->setObjectName(QStringLiteral("DialogNote"));
            note->setWordWrap(true);
            grid->addWidget(note, grid->rowCount(), 0, 1, grid->columnCount());
        }
    }
    if (settings.folder) {
        // A new folder may be made in the dialog itself, or typed.
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        if (!initialFile.isEmpty())
            dialog.setDirectory(QFileInfo(initialFile).absolutePath());
    } else {
        dialog.setNameFilter(QString::fromUtf8(settings.filter)); // entries apart by ";;"
        // The filter list shows only the entry's name, not its patterns.
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        // Only the chosen file's folder matters, so the file need not exist.
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setAcceptMode(settings.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        // Saving over a skin folder is the point of Save as: no confirmation there.
        dialog.setOption(QFileDialog::DontConfirmOverwrite, settings.save && !settings.confirmOverwrite);
        if (settings.confirmOverwrite)
            dialog.setDefaultSuffix(QStringLiteral("png"));
        if (QFileInfo(initialFile).isDir())
            dialog.setDirectory(initialFile); // a folder to start in, no file chosen
        else if (!initialFile.isEmpty())
            dialog.selectFile(initialFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<QColor> QtDialogService::RunColorDialog(const QColor& initial, const std::vector<QColor>& custom)
{
    // The custom colours are the dialog's, shared by every one Qt opens.
    for (int i = 0; i < QColorDialog::customCount(); ++i)
        QColorDialog::setCustomColor(i, i < static_cast<int>(custom.size()) ? custom[static_cast<std::size_t>(i)]
                                                                             : QColor(Qt::white));
    QColorDialog dialog(initial, owner_);
    dialog.setObjectName(QStringLiteral("ColorDialog1"));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedColor();
}

std::optional<int> QtDialogService::RunScaleDialog(const QString& title, int initial, int maximum)
{
    QInputDialog dialog(owner_);
    dialog.setObjectName(QStringLiteral("ScaleDialog"));
    dialog.setWindowTitle(title);
    dialog.setLabelText(QStringLiteral("Scale (each pixel as an N\u00d7N block):"));
    dialog.setInputMode(QInputDialog::IntInput);
    dialog.setIntRange(1, maximum);
    dialog.setIntValue(initial);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.intValue();
}
