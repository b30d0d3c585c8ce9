#include "EditingSession.h"

#include "SkinError.h"
#include "SkinFormat.h"

#include <QFileInfo>

#include <algorithm>

EditingSession::EditingSession(SkinWorkspace::FolderResolver executableFolder, QObject* parent)
    : QObject(parent), workspace_(document_, std::move(executableFolder)), preview_(document_),
      pictures_(document_, workspace_),
      files_(document_, workspace_, pictures_, [this](const std::string& notice) { emit Notice(notice); })
{
    history_.setUndoLimit(HistoryLimit);
    connect(&watch_, &PictureWatch::Settled, this, &EditingSession::TakeOutsideChanges);
}

EditingSession::~EditingSession()
{
    // The history takes its steps apart as it goes, after the members a view would
    // read are gone: nothing may reach the views from here on.
    history_.disconnect(this);
    blockSignals(true);
}

// ---- Steps -----------------------------------------------------------------------

void EditingSession::Push(const QString& name, std::vector<LineEdit> lines, std::vector<PictureEdit> pictures,
                          std::optional<MergeKey> merge, SkinStep::Namer namer)
{
    // A step of its own, or one of another key, ends the run before it.
    if (!merge || !runKey_ || merge->element != runKey_->element || merge->control != runKey_->control)
        Commit();
    runKey_ = merge;
    if (merge)
        merge->burst = burst_;
    auto* step = new SkinStep(*this, name, std::move(lines), std::move(pictures), std::move(merge));
    step->SetNamer(std::move(namer));
    errors_.Clear();
    history_.push(step); // its redo() does the work
}

void EditingSession::ApplyEdits(const std::vector<LineEdit>& lines, const std::vector<PictureEdit>& pictures,
                                bool forward) noexcept
{
    SkinChange change;
    std::vector<ReplacedLine> replaced;
    try {
        for (const LineEdit& edit : lines) {
            const std::string& bytes = forward ? edit.after : edit.before;
            if (document_.Lines.Line(edit.index) == bytes)
                continue;
            replaced.push_back({edit.index, document_.Lines.Line(edit.index)});
            document_.Lines.Replace(edit.index, bytes);
            change.keys.push_back(edit.key);
        }
    } catch (const std::exception& error) {
        errors_.Keep(error.what());
    }
    change.pictures = pictures_.Apply(pictures, forward, errors_);
    if (!change.Empty())
        Follow(change, replaced);
}

void EditingSession::Follow(const SkinChange& change, const std::vector<ReplacedLine>& replaced) noexcept
{
    bool drawn = false;
    try {
        // A keystroke or a drag step reads again only the elements whose line it replaced.
        if (!change.keys.empty()
            && !(parseOk_ && document_.SkinLoaded && !replaced.empty()
                 && ReparseReplacedLines(document_.Lines, replaced, document_.Model))) {
            parseOk_ = false;
            document_.ParseSkin();
            parseOk_ = true;
        }
        // A skin whose lines do not parse is not drawn.
        if (parseOk_ && document_.SkinLoaded) {
            RedrawPreview(&change);
            drawn = true;
        }
    } catch (const std::exception& error) {
        errors_.Keep(error.what());
    }
    if (!drawn)
        preview_.Forget(); // the next drawing paints everything
    emit Changed(change);
    UpdateModified();
}

void EditingSession::UpdateModified()
{
    const bool modified = files_.Modified();
    if (modified == modified_)
        return;
    modified_ = modified;
    emit ModifiedChanged(modified_);
}

void EditingSession::Commit()
{
    ++burst_;
    runKey_.reset();
}

void EditingSession::Undo()
{
    RunHistory(history_.index() - 1, [this] { history_.undo(); });
}

void EditingSession::Redo()
{
    RunHistory(history_.index(), [this] { history_.redo(); });
}

template <typename Move>
void EditingSession::RunHistory(int stepIndex, Move&& move)
{
    CommitLive(QStringLiteral("Move"));
    Commit();
    // A step that writes a picture first takes what another program did to the
    // pictures, so that it never writes over a change not yet taken.
    const auto* step = stepIndex >= 0 && stepIndex < history_.count()
        ? dynamic_cast<const SkinStep*>(history_.command(stepIndex))
        : nullptr;
    if (step != nullptr && step->ChangesPictures())
        TakeOutsideChanges();
    errors_.Clear();
    move();
    errors_.ThrowKept();
}

// ---- Lines -----------------------------------------------------------------------

void EditingSession::StoreElement(const ElementRef& element, const ItemValues& values, int control)
{
    const int index = document_.Lines.FindKey(element.key);
    StoreLine(index, element.key, ComposeItemLine(element.category, element.key, values), ElementName(element.key),
              MergeKey{element.key, control}, element.category);
}

void EditingSession::StoreLine(int index, const std::string& key, std::string bytes, const QString& name,
                               std::optional<MergeKey> merge, std::optional<SkinCategory> named)
{
    if (index < 0 || index >= document_.Lines.Count())
        ThrowListIndexError(index);
    CommitLive(QStringLiteral("Move"));
    const std::string& current = document_.Lines.Line(index);
    if (current == bytes) {
        // Nothing to change; a skin whose lines did not parse still says why.
        if (!parseOk_) {
            document_.ParseSkin();
            parseOk_ = true;
            RedrawPreview();
        }
        return;
    }
    SkinStep::Namer namer;
    if (named) // says what changed, from the first value to the last of a merged run
        namer = [category = *named](const std::vector<LineEdit>& lines) {
            const LineEdit& edit = lines.front();
            return ElementStepName(category, edit.key, edit.before, edit.after);
        };
    Push(name, {LineEdit{index, key, current, std::move(bytes)}}, {}, std::move(merge), std::move(namer));
    errors_.ThrowKept();
}

void EditingSession::StoreElementLive(const ElementRef& element, const ItemValues& values)
{
    StoreElementsLive({{element, values}});
}

void EditingSession::StoreElementsLive(const std::vector<std::pair<ElementRef, ItemValues>>& elements)
{
    SkinChange change;
    std::vector<ReplacedLine> replaced;
    change.keys = live_.Store(document_.Lines, elements, replaced);
    if (change.keys.empty())
        return;
    errors_.Clear();
    Follow(change, replaced);
    errors_.ThrowKept();
}

void EditingSession::CommitLive(const QString& name, std::optional<MergeKey> merge)
{
    std::vector<LineEdit> edits = live_.Take(document_.Lines);
    if (edits.empty())
        return;
    Push(name, std::move(edits), {}, std::move(merge)); // already in place: its redo changes nothing
    errors_.ThrowKept();
}

void EditingSession::CancelLive()
{
    SkinChange change;
    change.keys = live_.Restore(document_.Lines);
    if (change.Empty())
        return;
    errors_.Clear();
    Follow(change);
    errors_.ThrowKept();
}

// ---- The skin as a whole ---------------------------------------------------------

void EditingSession::Open(const QString& chosenFile)
{
    if (chosenFile.isEmpty())
        return;
    // Refused: nothing changed.
    const std::vector<int> borrowed = files_.CopyIn(chosenFile);
    // From here on the working copy is the new skin, whatever its load finds.
    live_.Forget();
    history_.clear();
    std::string error = files_.Load(chosenFile, borrowed);
    parseOk_ = error.empty();
    watch_.Watch(QFileInfo(document_.SkinFileName).absolutePath() + QLatin1Char('/'));
    if (error.empty()) {
        try {
            RedrawPreview();
        } catch (const SkinError& drawError) {
            error = drawError.what();
        }
    }
    emit Changed(SkinChange{true, {}, {}});
    UpdateModified();
    if (!error.empty())
        throw SkinError(error);
}

void EditingSession::SaveAs(const QString& chosenFile)
{
    CommitLive(QStringLiteral("Move"));
    Commit();
    TakeOutsideChanges();
    files_.SaveAs(chosenFile);
    UpdateModified();
    emit SkinSaved();
}

// ---- The preview and the selection -------------------------------------------

void EditingSession::SetSettings(const PreviewSettings& settings)
{
    preview_.SetSettings(settings);
    emit SettingsChanged();
    if (document_.SkinLoaded)
        RedrawPreview();
}

void EditingSession::SetSampleTexts(std::optional<TextLines> texts)
{
    if (!preview_.SetSampleTexts(std::move(texts)))
        return;
    emit SampleTextsChanged();
    if (document_.SkinLoaded)
        RedrawPreview();
}

void EditingSession::RedrawPreview(const SkinChange* change)
{
    preview_.Draw(change); // one surface for the whole run: every drawing paints over the last one
    if (!parseOk_)
        preview_.Forget(); // drawn from lines that did not all parse
    emit PreviewDrawn();
}

void EditingSession::Select(const std::optional<ElementRef>& element)
{
    // The primary one again (a view that follows the selection echoes it): the
    // others stay selected.
    if (element && element == selection_.Primary())
        return;
    SelectMany(element ? std::vector<ElementRef>{*element} : std::vector<ElementRef>{}, element);
}

void EditingSession::SelectMany(std::vector<ElementRef> elements, const std::optional<ElementRef>& primary,
                                bool mirrored)
{
    if (!selection_.Set(std::move(elements), primary, mirrored))
        return;
    Commit();
    emit SelectionChanged();
}

// ---- Mending a line as text ---------------------------------------------------
// A line the parse cannot read cannot be edited through its fields: its text is
// edited instead, as one undo step.

void EditingSession::ReplaceLineText(int index, std::string bytes)
{
    // Replaced, never split: the file keeps its number of lines.
    if (bytes.find_first_of("\r\n") != std::string::npos)
        throw SkinError("A line of " + std::string(DescriptionFileName) + " cannot hold a line break");
    const std::string name = LineName(document_.Lines, index);
    Commit();
    StoreLine(index, name, std::move(bytes), ElementName(name), std::nullopt);
}
