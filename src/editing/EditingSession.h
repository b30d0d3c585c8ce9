#pragma once
// The open skin as the editor's views see it: the document, its working copy, the
// preview settings and surface, the selected element and the undo history. Every
// change goes through here, and the signals say what changed, so a view follows
// the session instead of the view that made the change.
//
// Methods throw SkinError like the core does; callers run them through the error
// reporter. Signals carry no exception: an undo or redo that fails inside the undo
// stack keeps its error until Undo() or Redo() throws it.
#include "LineComposer.h"
#include "PictureWatch.h"
#include "PreviewRenderer.h"
#include "SkinWorkspace.h"

#include <QImage>
#include <QObject>
#include <QUndoStack>

#include <optional>
#include <string>
#include <vector>

// An element of the description file: its category and key.
struct ElementRef {
    SkinCategory category = SkinCategory::Strings;
    std::string key;
    bool operator==(const ElementRef&) const = default;
};

class EditingSession : public QObject {
    Q_OBJECT

public:
    static constexpr int HistoryLimit = 1000;

    explicit EditingSession(SkinWorkspace::FolderResolver executableFolder = RunningExecutableFolder,
                            QObject* parent = nullptr);
    ~EditingSession() override;

    const SkinDocument& Document() const { return document_; }
    // For tests and tools: a change made here is no undo step and is not signalled.
    SkinDocument& Document() { return document_; }
    SkinWorkspace& Workspace() { return workspace_; }
    QUndoStack& History() { return history_; }

    // Start-up: the two assets beside the executable.
    void LoadAssets();

    // Open, Save as and the autosave as the workspace does them. Open starts a fresh
    // history, whether it succeeds or not.
    void Open(const QString& chosenFile);
    void SaveAs(const QString& chosenFile);
    void Autosave();

    // The skin folder last opened or saved as; empty before the first that succeeded.
    const QString& SkinFolder() const { return skinFolder_; }

    // Whether anything changed since the last Open or successful Save as.
    bool IsModified() const;

    // Rebuilds key's line from values, parses and redraws: one write-back of the
    // property editor or a step of a drag. A change of bytes is an undo step; steps
    // of the same element and control merge until EndMerge.
    void StoreElement(const ElementRef& element, const ItemValues& values, int control);
    // Puts line in place of element's line as StoreElement does: a drag cancelled with
    // Escape puts the bytes back, and a merged step back at its start is no step.
    void StoreElementLine(const ElementRef& element, std::string line, int control);
    // The next stored change starts a step of its own.
    void EndMerge();

    // Replaces picture number from chosenFile as one undo step (nothing chosen: the
    // working copy is only reloaded, as a cancelled dialog does). The caller shows
    // and redraws on success; a picture the decoder rejects is put back and drawn.
    void ReplacePicture(int number, const std::optional<QString>& chosenFile);

    // Throw the error of the step undone or redone, after it has been applied.
    void Undo();
    void Redo();

    const PreviewSettings& Settings() const { return settings_; }
    // Redraws when a skin is loaded.
    void SetSettings(const PreviewSettings& settings);

    // The one preview surface; null until the first drawing.
    const QImage& Surface() const { return surface_; }
    // Paints the open skin onto the surface. Throws SkinError.
    void RedrawPreview();
    // The elements the last drawing painted, in draw order (last is topmost).
    const std::vector<DrawnElement>& DrawnElements() const { return drawn_; }

    const std::optional<ElementRef>& Selection() const { return selection_; }
    void Select(const std::optional<ElementRef>& element);

    // Asks the view of the pictures to show "N.gif": a jump from elsewhere, such as
    // a problem of that picture. Changes nothing.
    void ShowPicture(int number) { emit PictureRequested(number); }

    // Used by the undo steps: puts bytes in place of line index, parses and redraws,
    // keeping an error for Undo() or Redo().
    void ApplyLine(int index, const std::string& bytes, const std::string& key) noexcept;
    void ApplyPicture(int number, const std::optional<std::string>& bytes) noexcept;

    // The pictures of the working copy are watched from the first Open on: one that
    // another program changed is reloaded and drawn (no undo step, but the skin
    // counts as modified); one the decoder rejects is put back as it was and
    // reported through ExternalChangeFailed, once.
    PictureWatch& Watch() { return watch_; }

    // ---- Mending a line as text
    // Puts bytes in place of line index (0-based) as one undo step, then parses and
    // draws like an edit. Refuses bytes with a line break: no line is inserted or
    // removed. Throws the list error for a line that does not exist.
    void ReplaceLineText(int index, std::string bytes);

    // ---- Steps taken outside Undo() and Redo()
    // The error of a step that a view of the history ran itself (QUndoView sets the
    // index), taken once.
    std::optional<std::string> TakeStepError();

signals:
    void ElementChanged(const std::string& key); // its line changed
    void PictureChanged(int number);             // its file changed and the skin was reloaded
    void SkinOpened();                           // a whole skin was loaded (or its load failed)
    void SkinSaved();                            // Save as wrote it into SkinFolder()
    void SelectionChanged();
    void PictureRequested(int number);            // ShowPicture was asked for
    void SettingsChanged();
    void PreviewDrawn();                          // the surface holds a new drawing
    void ModifiedChanged(bool modified);
    // A change made by another program could not be taken; the message is the error's.
    void ExternalChangeFailed(const std::string& message);

private:
    template <typename Step>
    void RunStep(Step&& step);
    void SetExtraModified(bool modified);
    void TakeExternalChanges(const std::vector<int>& numbers) noexcept;

    SkinDocument document_;
    SkinWorkspace workspace_;
    QUndoStack history_;
    PreviewSettings settings_;
    QImage surface_;
    std::vector<DrawnElement> drawn_;
    std::optional<ElementRef> selection_;
    QString skinFolder_;
    int mergeSerial_ = 0;
    bool extraModified_ = false; // changed in a way the history does not hold
    std::optional<std::string> stepError_;
    PictureWatch watch_;
};
