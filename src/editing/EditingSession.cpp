#include "EditingSession.h"

#include "FilePaths.h"
#include "GifFile.h"
#include "PictureImport.h"
#include "SkinChecker.h"
#include "SkinError.h"
#include "SkinFormat.h"
#include "TextFile.h"
#include "ElementValues.h"

#include <QDir>
#include <QFileInfo>

#include <QStringList>

#include <algorithm>

QString ElementName(const std::string& key)
{
    const std::string name = KeyName(key);
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

bool SkinChange::Touches(const std::string& key) const
{
    return opened || std::find(keys.begin(), keys.end(), key) != keys.end();
}

bool SkinChange::TouchesPicture(int number) const
{
    return opened || std::find(pictures.begin(), pictures.end(), number) != pictures.end();
}

EditingSession::EditingSession(SkinWorkspace::FolderResolver executableFolder, QObject* parent)
    : QObject(parent), workspace_(document_, std::move(executableFolder)), pictures_(document_, workspace_)
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

template <typename Work>
auto EditingSession::TellingNotices(Work&& work)
{
    // Told whether the work succeeds or not: a record set aside before a refused Save
    // as is news all the same.
    const auto tell = [this] {
        for (const std::string& notice : workspace_.TakeNotices())
            emit Notice(notice);
    };
    try {
        auto result = work();
        tell();
        return result;
    } catch (...) {
        tell();
        throw;
    }
}

void EditingSession::LoadAssets()
{
    TellingNotices([&] {
        workspace_.LoadAssets();
        return true;
    });
}

// ---- Steps -----------------------------------------------------------------------

void EditingSession::KeepError(const std::string& message)
{
    stepError_ = stepError_ ? *stepError_ + "\n" + message : message;
}

void EditingSession::ThrowKeptError()
{
    if (!stepError_)
        return;
    const std::string message = *stepError_;
    stepError_.reset();
    throw SkinError(message);
}

void EditingSession::Push(SkinStep* step, bool merging)
{
    if (!merging)
        Commit(); // a step of its own: the one before takes no more
    stepError_.reset();
    history_.push(step); // its redo() does the work
    ThrowKeptError();
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
        KeepError(error.what());
    }
    for (const PictureEdit& edit : pictures) {
        const PictureContent& content = forward ? edit.after : edit.before;
        if (SamePicture(pictures_.Content(edit.number), content))
            continue;
        SetPicture(edit.number, content);
        change.pictures.push_back(edit.number);
    }
    if (!change.Empty())
        Follow(change, replaced);
}

void EditingSession::Follow(const SkinChange& change, const std::vector<ReplacedLine>& replaced) noexcept
{
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
        if (parseOk_ && document_.SkinLoaded)
            RedrawPreview();
    } catch (const std::exception& error) {
        KeepError(error.what());
    }
    emit Changed(change);
    UpdateModified();
}

void EditingSession::UpdateModified()
{
    const bool modified = document_.Lines.Lines() != savedLines_ || pictures_.Modified();
    if (modified == modified_)
        return;
    modified_ = modified;
    emit ModifiedChanged(modified_);
}

void EditingSession::Commit()
{
    if (history_.index() > 0)
        if (auto* top = dynamic_cast<const SkinStep*>(history_.command(history_.index() - 1)))
            const_cast<SkinStep*>(top)->Close(); // ours, made non-const; the stack only hands it out const
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
    stepError_.reset();
    move();
    ThrowKeptError();
}

// ---- Lines -----------------------------------------------------------------------

QString ElementStepName(SkinCategory category, const std::string& key, const std::string& before,
                        const std::string& after)
{
    const QString name = ElementName(key);
    ItemValues was;
    ItemValues now;
    try {
        was = ReadElementValues(SkinLines({before}), category, key);
        now = ReadElementValues(SkinLines({after}), category, key);
    } catch (const std::exception&) {
        return name; // a line that does not read: its values cannot be named
    }
    struct Change {
        const char* field;
        std::optional<std::pair<std::int32_t, std::int32_t>> values; // none: the colour
    };
    std::vector<Change> changes;
    const auto number = [&](const char* field, std::int32_t from, std::int32_t to) {
        if (from != to)
            changes.push_back({field, std::pair(from, to)});
    };
    const bool strings = category == SkinCategory::Strings;
    const bool objects = category == SkinCategory::Objects;
    number("X", was.X, now.X);
    number("Y", was.Y, now.Y);
    if (objects) {
        number("W", was.W, now.W);
        number("H", was.H, now.H);
    }
    if (strings) {
        number("anchor", was.Anchor, now.Anchor);
        number("font", was.FontId, now.FontId);
        number("style", was.StyleCode, now.StyleCode);
    }
    if ((strings || objects) && was.Color != now.Color)
        changes.push_back({"colour", std::nullopt});
    if (changes.empty())
        return name;
    if (changes.size() == 2 && QLatin1String(changes[0].field) == QLatin1String("X")
        && QLatin1String(changes[1].field) == QLatin1String("Y"))
        return QStringLiteral("Move ") + name;
    if (changes.size() == 1) {
        const Change& change = changes.front();
        if (!change.values)
            return name + QStringLiteral(": ") + QLatin1String(change.field);
        return QStringLiteral("%1: %2 %3 \u2192 %4")
            .arg(name, QLatin1String(change.field))
            .arg(change.values->first)
            .arg(change.values->second);
    }
    QStringList fields;
    for (const Change& change : changes)
        fields << QLatin1String(change.field);
    const QString last = fields.takeLast();
    return name + QStringLiteral(": ") + fields.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}

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
    const bool merging = merge.has_value();
    auto* step = new SkinStep(*this, name, {LineEdit{index, key, current, std::move(bytes)}}, {}, std::move(merge));
    if (named) // says what changed, from the first value to the last of a merged run
        step->SetNamer([category = *named](const std::vector<LineEdit>& lines) {
            const LineEdit& edit = lines.front();
            return ElementStepName(category, edit.key, edit.before, edit.after);
        });
    Push(step, merging);
}

void EditingSession::StoreElementLive(const ElementRef& element, const ItemValues& values)
{
    StoreElementsLive({{element, values}});
}

void EditingSession::StoreElementsLive(const std::vector<std::pair<ElementRef, ItemValues>>& elements)
{
    std::vector<std::string> lines;
    for (const auto& [element, values] : elements) { // every line composed before any is replaced
        if (document_.Lines.FindKey(element.key) < 0)
            ThrowListIndexError(-1);
        lines.push_back(ComposeItemLine(element.category, element.key, values));
    }
    SkinChange change;
    std::vector<ReplacedLine> replaced;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& key = elements[i].first.key;
        const int index = document_.Lines.FindKey(key);
        const std::string& current = document_.Lines.Line(index);
        live_.try_emplace(index, key, current);
        if (current == lines[i])
            continue;
        replaced.push_back({index, current});
        document_.Lines.Replace(index, std::move(lines[i]));
        change.keys.push_back(key);
    }
    if (change.keys.empty())
        return;
    stepError_.reset();
    Follow(change, replaced);
    ThrowKeptError();
}

void EditingSession::CommitLive(const QString& name, std::optional<MergeKey> merge)
{
    if (live_.empty())
        return;
    std::vector<LineEdit> edits;
    for (const auto& [index, before] : live_)
        if (document_.Lines.Line(index) != before.second)
            edits.push_back({index, before.first, before.second, document_.Lines.Line(index)});
    live_.clear();
    const bool merging = merge.has_value();
    if (!edits.empty()) // already in place: its redo changes nothing
        Push(new SkinStep(*this, name, std::move(edits), {}, std::move(merge)), merging);
}

void EditingSession::CancelLive()
{
    SkinChange change;
    for (const auto& [index, before] : live_) {
        if (document_.Lines.Line(index) == before.second)
            continue;
        document_.Lines.Replace(index, before.second);
        change.keys.push_back(before.first);
    }
    live_.clear();
    if (change.Empty())
        return;
    stepError_.reset();
    Follow(change);
    ThrowKeptError();
}

// ---- Pictures --------------------------------------------------------------------

void EditingSession::SetPicture(int number, const PictureContent& content) noexcept
{
    if (std::optional<std::string> error = pictures_.Set(number, content))
        KeepError(*error);
}

const QImage& EditingSession::Picture(int number) const
{
    return pictures_.Picture(number);
}

void EditingSession::ReplacePicture(int number, const std::optional<QString>& chosenFile)
{
    CheckReplaceable(number);
    const QFileInfo chosen(chosenFile.value_or(QString()));
    if (!chosenFile || chosenFile->isEmpty() || !(chosen.exists() || chosen.isSymLink()))
        return; // nothing chosen: the skin stays as it is
    // Read and decoded before anything changes: a refusal names the chosen file.
    std::string bytes = ReadFileBytes(*chosenFile, MaxPictureFileBytes);
    DecodeGifFile(bytes, *chosenFile);
    PushReplacement(number, std::move(bytes), QStringLiteral("Replace %1").arg(PictureFileName(number)));
}

std::optional<QImage> EditingSession::PictureToConvert(const QString& chosenFile) const
{
    const std::string bytes = ReadFileBytes(chosenFile, MaxPictureFileBytes);
    const QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    // A file named as a GIF is one, and says so when it is not.
    if (IsGifData(data) || QFileInfo(chosenFile).suffix().compare(QLatin1String("gif"), Qt::CaseInsensitive) == 0)
        return std::nullopt;
    try {
        return DecodePicture(data);
    } catch (const SkinError& error) {
        throw SkinError(PictureReadError(chosenFile, error.what()));
    }
}

void EditingSession::ReplacePictureConverted(int number, const QString& sourceFile, const QByteArray& gif)
{
    CheckReplaceable(number);
    std::string bytes(gif.constData(), static_cast<std::size_t>(gif.size()));
    DecodeGifFile(bytes, sourceFile);
    PushReplacement(number, std::move(bytes),
                    QStringLiteral("Replace %1 from %2").arg(PictureFileName(number), QFileInfo(sourceFile).fileName()));
}

void EditingSession::CheckReplaceable(int number) const
{
    if (document_.SkinFileName.isEmpty())
        throw SkinError("Open a skin before replacing a picture");
    if (number < 0 || number >= SkinPictureCount)
        ThrowListIndexError(number);
}

void EditingSession::PushReplacement(int number, std::string bytes, const QString& name)
{
    CommitLive(QStringLiteral("Move"));
    Commit();
    TakeOutsideChanges(); // another program's change first, as a step of its own
    PictureContent after = PictureContent::Of(std::move(bytes));
    const PictureContent& before = pictures_.Content(number);
    if (SamePicture(before, after))
        return;
    if (before.kind == PictureContent::Kind::Unreadable && before.kept.isEmpty())
        throw SkinError("Cannot create file \"" + DisplayPath(workspace_.PictureFile(number))
                        + "\". The file there cannot be kept to undo the replacement");
    Push(new SkinStep(*this, name, {}, {PictureEdit{number, before, std::move(after)}}));
}

std::vector<PaletteRow> EditingSession::Palette() const
{
    return BuildPalette(document_.Lines, document_.Pictures);
}

void EditingSession::Recolour(const ColourMap& map, const QString& name)
{
    if (document_.SkinFileName.isEmpty())
        throw SkinError("Open a skin before changing its colours");
    CommitLive(QStringLiteral("Move"));
    Commit();
    TakeOutsideChanges(); // another program's change first, as a step of its own
    std::vector<LineEdit> lines;
    for (RecolouredLine& line : RecolourLines(document_.Lines, map))
        lines.push_back({line.index, line.key, document_.Lines.Line(line.index), std::move(line.text)});
    std::vector<PictureEdit> pictures;
    for (int number = 0; number < SkinPictureCount; ++number) {
        const PictureContent& before = pictures_.Content(number);
        if (before.kind != PictureContent::Kind::Bytes)
            continue;
        std::string after = RecolourGif(*before.bytes, map);
        if (after != *before.bytes)
            pictures.push_back({number, before, PictureContent::Of(std::move(after))});
    }
    if (lines.empty() && pictures.empty())
        return;
    Push(new SkinStep(*this, name, std::move(lines), std::move(pictures)));
}

void EditingSession::ReplaceColour(QRgb from, QRgb to)
{
    Recolour({{qRgb(qRed(from), qGreen(from), qBlue(from)), qRgb(qRed(to), qGreen(to), qBlue(to))}},
             QStringLiteral("Replace %1 with %2")
                 .arg(QString::fromLatin1(ColourName(from)), QString::fromLatin1(ColourName(to))));
}

void EditingSession::PreviewColours(std::optional<ColourMap> map)
{
    colourPreview_ = std::move(map);
    shown_.reset();
    if (parseOk_ && document_.SkinLoaded)
        RedrawPreview();
    else
        UpdateMarking();
}

const SkinDocument& EditingSession::ShownDocument() const
{
    return shown_ ? *shown_ : document_;
}

void EditingSession::MarkColour(std::optional<ColourUses> uses)
{
    if (!uses && !marked_)
        return;
    marked_ = std::move(uses);
    UpdateMarking();
    emit MarkingChanged();
}

void EditingSession::UpdateMarking()
{
    marking_.reset();
    if (marked_ && !colourPreview_ && !surface_.isNull())
        marking_ = ::MarkColour(*marked_, surface_, drawn_, document_.Pictures);
}

void EditingSession::RecolourShown()
{
    shown_.reset();
    if (!colourPreview_)
        return;
    SkinDocument shown = document_;
    for (RecolouredLine& line : RecolourLines(shown.Lines, *colourPreview_))
        shown.Lines.Replace(line.index, std::move(line.text));
    // Only colours change, so the lines parse as they did.
    shown.ParseSkin();
    for (int number = 0; number < SkinPictureCount; ++number) {
        QImage& picture = shown.Pictures[static_cast<std::size_t>(number)];
        picture = RecolourImage(picture, *colourPreview_);
    }
    shown_ = std::move(shown);
}

void EditingSession::SaveRecolouredAs(const ColourMap& map, const QString& folder)
{
    if (document_.SkinFileName.isEmpty())
        throw SkinError("Open a skin before saving an edition of it");
    const QString target = QDir(folder).absolutePath() + QLatin1Char('/');
    if (QFileInfo(target).canonicalFilePath() == QFileInfo(workspace_.PictureFile(0)).canonicalPath())
        throw SkinError("The working copy cannot hold an edition: choose another folder");
    SkinLines lines = document_.Lines;
    for (RecolouredLine& line : RecolourLines(lines, map))
        lines.Replace(line.index, std::move(line.text));
    SkinFileSet files;
    for (int number = 0; number < SkinPictureCount; ++number) {
        const PictureContent& content = pictures_.Content(number);
        if (content.kind == PictureContent::Kind::Bytes)
            files.emplace_back(PictureFileName(number), RecolourGif(*content.bytes, map));
    }
    files.emplace_back(QString::fromLatin1(DescriptionFileName), JoinTextLines(lines.Lines()));
    for (const std::string& notice : WriteSkinFiles(target, files))
        emit Notice(notice);
}

void EditingSession::TakeOutsideChanges() noexcept
{
    if (document_.SkinFileName.isEmpty())
        return;
    const std::string messages =
        pictures_.TakeOutsideChanges([this](int number, PictureContent before, PictureContent now) {
            Commit();
            stepError_.reset();
            history_.push(new SkinStep(*this, PictureFileName(number) + QStringLiteral(" changed on disk"), {},
                                       {PictureEdit{number, std::move(before), std::move(now)}}));
            return TakeStepError();
        });
    if (!messages.empty())
        emit ExternalChangeFailed(messages);
}

// ---- The skin as a whole ---------------------------------------------------------

void EditingSession::Open(const QString& chosenFile)
{
    if (chosenFile.isEmpty())
        return;
    // Refused: nothing changed.
    const std::vector<int> borrowed = TellingNotices([&] { return workspace_.CopySkinIn(chosenFile); });
    // From here on the working copy is the new skin, whatever its load finds.
    live_.clear();
    history_.clear();
    skinFolder_ = QFileInfo(chosenFile).absolutePath();
    std::string error;
    try {
        // Each picture read and decoded once, for the loader and the pictures held.
        workspace_.LoadWorkingCopy([this](int number, const QString&) { return pictures_.ReadForLoad(number); });
        parseOk_ = true;
    } catch (const SkinError& loadError) {
        error = loadError.what();
        parseOk_ = false;
        // A file without a line fails at its first key: say why it has none.
        const std::string reason = NoLineReason(document_.Lines.Lines(), document_.DescriptionCut);
        if (!reason.empty() && error == ListIndexErrorText(-1))
            error = reason + ". " + error;
    }
    pictures_.Load(borrowed);
    savedLines_ = document_.Lines.Lines();
    pictures_.MarkSaved();
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
    pictures_.WriteUnwritten(); // Save as copies the working copy's pictures
    TellingNotices([&] {
        workspace_.SaveAs(chosenFile);
        return true;
    });
    skinFolder_ = QFileInfo(chosenFile).absolutePath();
    savedLines_ = document_.Lines.Lines();
    pictures_.MarkSaved();
    UpdateModified();
    emit SkinSaved();
}

void EditingSession::Autosave()
{
    workspace_.Autosave();
    if (!document_.SkinFileName.isEmpty())
        pictures_.WriteUnwritten();
}

void EditingSession::SetSettings(const PreviewSettings& settings)
{
    settings_ = settings;
    emit SettingsChanged();
    if (document_.SkinLoaded)
        RedrawPreview();
}

void EditingSession::SetSampleTexts(std::optional<TextLines> texts)
{
    if (texts == sampleTexts_)
        return;
    sampleTexts_ = std::move(texts);
    emit SampleTextsChanged();
    if (document_.SkinLoaded)
        RedrawPreview();
}

void EditingSession::RedrawPreview()
{
    // One surface for the whole run: every drawing paints over the last one.
    drawn_.clear();
    RecolourShown();
    const SkinDocument& shown = ShownDocument();
    DrawPreview(surface_, shown.Model, shown.Pictures, SampleTexts(), settings_, &drawn_, &cache_);
    UpdateMarking();
    emit PreviewDrawn();
}

void EditingSession::Select(const std::optional<ElementRef>& element)
{
    // The primary one again (a view that follows the selection echoes it): the
    // others stay selected.
    if (element && element == selection_)
        return;
    SelectMany(element ? std::vector<ElementRef>{*element} : std::vector<ElementRef>{}, element);
}

void EditingSession::SelectMany(std::vector<ElementRef> elements, const std::optional<ElementRef>& primary)
{
    std::vector<ElementRef> selected;
    if (primary)
        selected.push_back(*primary);
    for (ElementRef& element : elements)
        if (primary && std::find(selected.begin(), selected.end(), element) == selected.end())
            selected.push_back(std::move(element));
    if (selection_ == primary && selected_ == selected)
        return;
    Commit();
    selection_ = primary;
    selected_ = std::move(selected);
    emit SelectionChanged();
}

// ---- Mending a line as text ---------------------------------------------------
// A line the parse cannot read cannot be edited through its fields: its text is
// edited instead, as one undo step.

namespace {

// The key whose line index is (the last line of that key), or "Line N" for a line
// no key reads: the name of the step.
std::string LineName(const SkinLines& lines, int index)
{
    for (const SkinCategory category :
         {SkinCategory::Strings, SkinCategory::Pictures, SkinCategory::Objects, SkinCategory::Settings}) {
        for (const char* key : ElementKeys(category))
            if (lines.FindKey(key) == index)
                return key;
    }
    return "Line " + std::to_string(index + 1);
}

} // namespace

void EditingSession::ReplaceLineText(int index, std::string bytes)
{
    // Replaced, never split: the file keeps its number of lines.
    if (bytes.find_first_of("\r\n") != std::string::npos)
        throw SkinError("A line of " + std::string(DescriptionFileName) + " cannot hold a line break");
    const std::string name = LineName(document_.Lines, index);
    Commit();
    StoreLine(index, name, std::move(bytes), ElementName(name), std::nullopt);
}

// ---- Steps taken outside Undo() and Redo() --------------------------------------

std::optional<std::string> EditingSession::TakeStepError()
{
    std::optional<std::string> error;
    error.swap(stepError_);
    return error;
}
