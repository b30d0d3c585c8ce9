#pragma once
// The open skin as the editor's views see it: its lines and its fifteen pictures,
// the working copy that follows them on disk, the preview settings and surface, the
// selected element and the history. Every change is a step of the history, whoever
// makes it: an edit, a move on the canvas, a replaced picture, a picture another
// program changed. One signal, Changed, says what changed, so a view follows the
// session instead of the view that made the change.
//
// Methods throw SkinError like the core does; callers run them through the error
// reporter. Signals carry no exception: a step that fails inside the history keeps
// its error until the method that ran it throws it.
#include "ElementSelection.h"
#include "LineComposer.h"
#include "LiveGesture.h"
#include "PictureContent.h"
#include "PictureWatch.h"
#include "PreviewState.h"
#include "SessionFiles.h"
#include "SkinChange.h"
#include "SkinPictures.h"
#include "SkinStep.h"
#include "SkinWorkspace.h"
#include "StepNames.h"

#include <QImage>
#include <QObject>
#include <QUndoStack>

#include <array>
#include <optional>
#include <string>
#include <vector>

class EditingSession : public QObject, private StepTarget {
    Q_OBJECT

public:
    static constexpr int HistoryLimit = 1000;

    explicit EditingSession(SkinWorkspace::FolderResolver executableFolder = RunningExecutableFolder,
                            QObject* parent = nullptr);
    ~EditingSession() override;

    const SkinDocument& Document() const { return document_; }
    // For tests and tools: a change made here is no step and is not signalled.
    SkinDocument& Document() { return document_; }
    SkinWorkspace& Workspace() { return workspace_; }
    QUndoStack& History() { return history_; }

    // Start-up: the two assets beside the executable.
    void LoadAssets() { files_.LoadAssets(); }

    // Copies the skin into the working copy and loads it. A copy that is refused
    // changes nothing here; once the copy is made the history starts afresh, even
    // when the skin then fails to load.
    void Open(const QString& chosenFile);
    void SaveAs(const QString& chosenFile);
    // Writes the lines into the working copy, and any picture a failed write left behind.
    void Autosave() { files_.Autosave(); }

    // The skin folder last opened or saved as; empty before the first that succeeded.
    const QString& SkinFolder() const { return files_.SkinFolder(); }

    // Whether the last parse of the lines ran to its end; until it does, the preview
    // shows an older drawing.
    bool LinesParsed() const { return parseOk_; }

    // Whether the skin differs from what the last Open or Save as left.
    bool IsModified() const { return modified_; }
    // The skin as the last Open or Save as left it, with the overlay and asset texts of
    // today: what IsModified compares with. Pictures unchanged since are shared.
    SkinDocument SavedDocument() const { return files_.SavedDocument(); }

    // Rebuilds element's line from values, parses and draws: a write-back of the
    // property editor, or a nudge. A change of bytes is a step; the steps of one
    // element and control merge until Commit.
    void StoreElement(const ElementRef& element, const ItemValues& values, int control);
    // Puts bytes in place of line index as one step of its own: a line mended as
    // text. Refuses bytes with a line break, so no line is inserted or removed.
    void ReplaceLineText(int index, std::string bytes);
    // The next change starts a step of its own.
    void Commit();

    // A gesture: moves shown at once without a step; CommitLive makes them one step,
    // CancelLive puts every line back and leaves the history as it was.
    void StoreElementLive(const ElementRef& element, const ItemValues& values);
    // Several elements moved together: parsed and drawn once.
    void StoreElementsLive(const std::vector<std::pair<ElementRef, ItemValues>>& elements);
    // With merge, the step takes in the next one of the same key (a burst of nudges).
    void CommitLive(const QString& name, std::optional<MergeKey> merge = std::nullopt);
    void CancelLive();

    // Replaces picture number by the chosen GIF as one step. Nothing chosen changes
    // nothing; a file that cannot be read or decoded is refused with its own name.
    void ReplacePicture(int number, const std::optional<QString>& chosenFile);
    // The picture in chosenFile, when it is of another kind than GIF and is to be
    // converted first; nothing for a GIF (by its signature or its name), which
    // ReplacePicture takes as it is.
    // Throws, naming the file, when it cannot be read or is too large.
    std::optional<QImage> PictureToConvert(const QString& chosenFile) const { return NonGifPicture(chosenFile); }
    // Replaces picture number by gif, made from the picture in sourceFile, as one
    // step "Replace N.gif from NAME".
    void ReplacePictureConverted(int number, const QString& sourceFile, const QByteArray& gif);
    // The decoded picture number; throws why there is none.
    const QImage& Picture(int number) const { return pictures_.Picture(number); }
    const PictureContent& PictureHeld(int number) const { return pictures_.Content(number); }

    // The colours of the open skin, most used first.
    std::vector<PaletteRow> Palette() const { return BuildPalette(document_.Lines, document_.Pictures); }
    // Applies map at once to the description's colour words and to every picture's
    // colour tables as one step; a map that changes nothing makes no step.
    void Recolor(const ColorMap& map, const QString& name);
    // Recolour as the step "Replace #1A2A40 with #40201A".
    void ReplaceColor(QRgb from, QRgb to);
    // Draws, until called with nothing, the skin as map would recolour it: a preview
    // of a change that is no change (no step, nothing written, no Changed).
    void PreviewColors(std::optional<ColorMap> map);
    // The document as the drawings show it: recoloured while PreviewColors holds a map.
    const SkinDocument& ShownDocument() const { return preview_.Shown(); }
    // Marks uses on the views until called with nothing (view state: no step, no
    // Changed; the surface stays unmarked). Suspended while PreviewColors holds a map.
    void MarkColor(std::optional<ColorUses> uses);
    // The last drawing with the marked colour's uses; nothing when none is marked.
    const std::optional<ColorMarking>& Marking() const { return preview_.Marking(); }
    // Writes the skin recoloured by map into the folder, all sixteen files as Save as
    // writes them; the open skin stays as it is.
    void SaveRecoloredAs(const ColorMap& map, const QString& folder);

    // Takes what other programs did to the working copy's pictures: a picture that
    // decodes becomes a step ("12.gif changed on disk"); anything else (removed,
    // unreadable, not a picture) is written back as it was and reported once
    // through ExternalChangeFailed. The watch calls it; so does every step.
    void TakeOutsideChanges() noexcept;

    // Throw the error of the step undone or redone, after it has been applied.
    void Undo();
    void Redo();

    const PreviewSettings& Settings() const { return preview_.Settings(); }
    // Redraws when a skin is loaded.
    void SetSettings(const PreviewSettings& settings);

    // The sample texts every drawing of the session prints. Like the settings they
    // belong to the preview, not to the skin: no step of the history, never written
    // into the skin, the working copy or the asset. Until others are set they are the
    // asset's lines, Document().LangLines, which nothing here changes.
    const TextLines& SampleTexts() const { return preview_.SampleTexts(); }
    // Draws with texts, or with the asset's lines again when there are none; redraws
    // when a skin is loaded.
    void SetSampleTexts(std::optional<TextLines> texts);

    // The one preview surface; null until the first drawing.
    const QImage& Surface() const { return preview_.Surface(); }
    // The drawings made so far, and where the surface may have changed since the one
    // numbered since (nothing: anywhere), as PreviewState tells.
    std::uint64_t Drawings() const { return preview_.Drawings(); }
    std::optional<std::vector<QRect>> SurfaceChangedSince(std::uint64_t since) const { return preview_.ChangedSince(since); }
    // Paints the open skin onto the surface; after change, only where it may differ.
    // Throws SkinError.
    void RedrawPreview(const SkinChange* change = nullptr);
    // The elements the last drawing painted, in draw order (last is topmost).
    const std::vector<DrawnElement>& DrawnElements() const { return preview_.DrawnElements(); }
    // What the session's drawings keep for the next one (shaped texts, faces).
    PreviewCache& DrawingCache() { return preview_.Cache(); }

    // The primary selected element: the one the property editor shows.
    const std::optional<ElementRef>& Selection() const { return selection_.Primary(); }
    // element alone; the primary one again keeps the others selected.
    void Select(const std::optional<ElementRef>& element);
    // Every selected element, the primary one among them; empty when none is.
    const std::vector<ElementRef>& SelectedElements() const { return selection_.Elements(); }
    // The primary element was picked as the right soft label.
    bool SelectionMirrored() const { return selection_.PrimaryMirrored(); }
    // Selects elements (each once) with primary as the one shown; primary is added
    // when missing. Without a primary nothing is selected.
    void SelectMany(std::vector<ElementRef> elements, const std::optional<ElementRef>& primary,
                    bool mirrored = false);

    // Asks the view of the pictures to show "N.gif": a jump from elsewhere, such as
    // a problem of that picture. Changes nothing.
    void ShowPicture(int number) { emit PictureRequested(number); }

    // The error of a step that a view of the history ran itself (QUndoView sets the
    // index), taken once.
    std::optional<std::string> TakeStepError() { return errors_.Take(); }

signals:
    void Changed(const SkinChange& change);
    void SkinSaved(); // Save as wrote it into SkinFolder()
    void SelectionChanged();
    void PictureRequested(int number); // ShowPicture was asked for
    void SettingsChanged();
    void SampleTextsChanged(); // SetSampleTexts changed them
    void PreviewDrawn(); // the surface holds a new drawing, and Marking() is made from it
    void MarkingChanged(); // MarkColor changed Marking()
    void ModifiedChanged(bool modified);
    // A change made by another program could not be taken; the message is the error's.
    void ExternalChangeFailed(const std::string& message);
    // The workspace found something it left alone that the user should know of.
    void Notice(const std::string& message);

private:
    void ApplyEdits(const std::vector<LineEdit>& lines, const std::vector<PictureEdit>& pictures,
                    bool forward) noexcept override;
    // The step that puts bytes in place of picture number, unless they are already there.
    void PushReplacement(int number, std::string bytes, const QString& name);
    // With named, the step is named by what changed in the line (ElementStepName).
    void StoreLine(int index, const std::string& key, std::string bytes, const QString& name,
                   std::optional<MergeKey> merge, std::optional<SkinCategory> named = std::nullopt);
    // Pushes the step, whose redo() does the work, and keeps its error. A step with
    // merge takes in the next ones of the same key until Commit.
    void Push(const QString& name, std::vector<LineEdit> lines, std::vector<PictureEdit> pictures,
              std::optional<MergeKey> merge = std::nullopt, SkinStep::Namer namer = {});
    // Parses when lines changed (only the elements of the replaced lines, where that
    // gives what a whole parse would), draws, and tells the views.
    void Follow(const SkinChange& change, const std::vector<ReplacedLine>& replaced = {}) noexcept;
    void UpdateModified();
    // Undo or redo (move) of the step at stepIndex, and the error it kept.
    template <typename Move>
    void RunHistory(int stepIndex, Move&& move);

    SkinDocument document_;
    SkinWorkspace workspace_;
    QUndoStack history_;
    PreviewState preview_;
    ElementSelection selection_;
    SkinPictures pictures_;
    SessionFiles files_;
    LiveGesture live_;
    bool parseOk_ = false;
    bool modified_ = false;
    StepErrors errors_;
    int burst_ = 0;                  // the run of merging steps; Commit starts the next
    std::optional<MergeKey> runKey_; // the key of the run's steps so far
    PictureWatch watch_;
};
