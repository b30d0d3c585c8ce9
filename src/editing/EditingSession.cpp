#include "EditingSession.h"

#include "GifPicture.h"
#include "SkinError.h"
#include "TextFile.h"

#include <QFileInfo>

namespace {

enum StepId { LineStepId = 1 };

// One element's line before and after, as bytes. The first redo is the push: the
// change is already in place by then, made where its errors can be thrown.
class LineStep : public QUndoCommand {
public:
    LineStep(EditingSession& session, int index, std::string key, std::string before, std::string after, int control,
             int serial)
        : session_(session), index_(index), key_(std::move(key)), before_(std::move(before)), after_(std::move(after)),
          control_(control), serial_(serial)
    {
        Name();
    }

    int id() const override { return LineStepId; }

    bool mergeWith(const QUndoCommand* other) override
    {
        const auto* next = dynamic_cast<const LineStep*>(other);
        if (next == nullptr || next->index_ != index_ || next->control_ != control_ || next->serial_ != serial_)
            return false;
        after_ = next->after_;
        setObsolete(after_ == before_); // back where it started: no step at all
        return true;
    }

    void redo() override
    {
        if (applied_) {
            applied_ = false;
            return;
        }
        session_.ApplyLine(index_, after_, key_);
    }

    void undo() override { session_.ApplyLine(index_, before_, key_); }

private:
    void Name()
    {
        std::string key = key_;
        while (!key.empty() && key.back() == ' ')
            key.pop_back();
        setText(QString::fromLatin1(key.data(), static_cast<qsizetype>(key.size())));
    }

    EditingSession& session_;
    int index_;
    std::string key_;
    std::string before_;
    std::string after_;
    int control_;
    int serial_;
    bool applied_ = true;
};

// A picture file before and after a replacement; nothing when there was none.
class PictureStep : public QUndoCommand {
public:
    PictureStep(EditingSession& session, int number, std::optional<std::string> before, std::optional<std::string> after)
        : session_(session), number_(number), before_(std::move(before)), after_(std::move(after))
    {
        setText(QStringLiteral("Replace %1.gif").arg(number));
    }

    void redo() override
    {
        if (applied_) {
            applied_ = false;
            return;
        }
        session_.ApplyPicture(number_, after_);
    }

    void undo() override { session_.ApplyPicture(number_, before_); }

private:
    EditingSession& session_;
    int number_;
    std::optional<std::string> before_;
    std::optional<std::string> after_;
    bool applied_ = true;
};

std::optional<std::string> FileBytes(const QString& path)
{
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return std::nullopt;
    try {
        return ReadFileBytes(path, MaxPictureFileBytes);
    } catch (const SkinError&) {
        return std::nullopt;
    }
}

} // namespace

EditingSession::EditingSession(SkinWorkspace::FolderResolver executableFolder, QObject* parent)
    : QObject(parent), workspace_(document_, std::move(executableFolder))
{
    history_.setUndoLimit(HistoryLimit);
    connect(&history_, &QUndoStack::cleanChanged, this, [this] { emit ModifiedChanged(IsModified()); });
    connect(&watch_, &PictureWatch::PicturesChanged, this, &EditingSession::TakeExternalChanges);
}

EditingSession::~EditingSession()
{
    // The history says it is clean as it goes, after the members a view would read
    // are gone: nothing may reach the views from here on.
    history_.disconnect(this);
    blockSignals(true);
}

void EditingSession::LoadAssets()
{
    workspace_.LoadAssets();
}

void EditingSession::Open(const QString& chosenFile)
{
    if (chosenFile.isEmpty())
        return;
    // Whatever happens, the history of the skin that was open ends here.
    struct Fresh {
        EditingSession& session;
        ~Fresh()
        {
            // The working copy as it is now is what the editor knows of it.
            const QString& file = session.document_.SkinFileName;
            session.watch_.Watch(file.isEmpty() ? QString() : QFileInfo(file).absolutePath() + QLatin1Char('/'));
            session.history_.clear();
            session.SetExtraModified(false);
            emit session.SkinOpened();
        }
    } fresh{*this};
    EndMerge();
    try {
        workspace_.Open(chosenFile);
    } catch (const SkinError&) {
        // Copied but not read (a line that cannot be read): the editor holds this
        // skin's lines now, and the title must say whose they are.
        if (workspace_.CopiedFrom() == QFileInfo(chosenFile).absolutePath())
            skinFolder_ = workspace_.CopiedFrom();
        throw;
    }
    skinFolder_ = QFileInfo(chosenFile).absolutePath();
    RedrawPreview();
}

void EditingSession::SaveAs(const QString& chosenFile)
{
    workspace_.SaveAs(chosenFile);
    skinFolder_ = QFileInfo(chosenFile).absolutePath();
    history_.setClean();
    SetExtraModified(false);
    emit SkinSaved();
}

void EditingSession::Autosave()
{
    workspace_.Autosave();
}

bool EditingSession::IsModified() const
{
    return !history_.isClean() || extraModified_;
}

void EditingSession::SetExtraModified(bool modified)
{
    const bool was = IsModified();
    extraModified_ = modified;
    if (IsModified() != was)
        emit ModifiedChanged(IsModified());
}

void EditingSession::StoreElement(const ElementRef& element, const ItemValues& values, int control)
{
    StoreElementLine(element, ComposeItemLine(element.category, element.key, values), control);
}

void EditingSession::StoreElementLine(const ElementRef& element, std::string line, int control)
{
    SkinLines& lines = document_.Lines;
    const int index = lines.FindKey(element.key);
    if (index >= 0 && lines.Line(index) != line) {
        std::string before = lines.Line(index);
        lines.Replace(index, line);
        history_.push(new LineStep(*this, index, element.key, std::move(before), std::move(line), control, mergeSerial_));
        emit ElementChanged(element.key);
    } else {
        lines.Replace(index, std::move(line)); // the list error when there is no line
    }
    // Parsed and drawn even when no byte changed: the errors of a write-back stay those
    // of the skin as it is.
    document_.ParseSkin();
    RedrawPreview();
}

void EditingSession::EndMerge()
{
    ++mergeSerial_;
}

void EditingSession::ReplacePicture(int number, const std::optional<QString>& chosenFile)
{
    EndMerge();
    const QString file = workspace_.PictureFile(number);
    const std::optional<std::string> before = FileBytes(file);
    const bool chose = chosenFile && !chosenFile->isEmpty();
    // A rejected picture is put back before the error comes: then nothing changed.
    // Any other error comes after the new picture is in place, which is a step.
    struct Record {
        EditingSession& session;
        int number;
        const QString& file;
        const std::optional<std::string>& before;
        bool chose;
        ~Record()
        {
            session.watch_.Acknowledge(number); // the editor's own write
            if (!chose)
                return;
            std::optional<std::string> after = FileBytes(file);
            if (after == before)
                return;
            session.history_.push(new PictureStep(session, number, before, std::move(after)));
            emit session.PictureChanged(number);
        }
    } record{*this, number, file, before, chose};
    try {
        workspace_.ReplacePicture(number, chosenFile);
    } catch (const SkinError&) {
        // Drawn again only when the decoder's rejection put the former picture back:
        // a reload that failed otherwise leaves the preview as it was.
        if (chose && document_.SkinLoaded && FileBytes(file) == before) {
            try {
                RedrawPreview();
            } catch (const SkinError&) {
            }
        }
        throw;
    }
}

template <typename Step>
void EditingSession::RunStep(Step&& step)
{
    stepError_.reset();
    EndMerge();
    step();
    EndMerge();
    if (stepError_) {
        const std::string message = *stepError_;
        stepError_.reset();
        throw SkinError(message);
    }
}

void EditingSession::Undo()
{
    RunStep([this] { history_.undo(); });
}

void EditingSession::Redo()
{
    RunStep([this] { history_.redo(); });
}

void EditingSession::ApplyLine(int index, const std::string& bytes, const std::string& key) noexcept
{
    try {
        document_.Lines.Replace(index, bytes);
        document_.ParseSkin();
        RedrawPreview();
    } catch (const std::exception& error) {
        stepError_ = error.what();
    }
    emit ElementChanged(key);
}

void EditingSession::ApplyPicture(int number, const std::optional<std::string>& bytes) noexcept
{
    try {
        workspace_.WritePicture(number, bytes);
        watch_.Acknowledge(number);
        RedrawPreview();
    } catch (const std::exception& error) {
        watch_.Acknowledge(number);
        stepError_ = error.what();
    }
    emit PictureChanged(number);
}

void EditingSession::TakeExternalChanges(const std::vector<int>& numbers) noexcept
{
    std::string messages;
    const auto report = [&messages](const std::string& message) {
        if (!messages.empty())
            messages += "\n";
        messages += message;
    };
    for (const int number : numbers) {
        const QString file = workspace_.PictureFile(number);
        try {
            LoadGifFile(file);
        } catch (const std::exception& error) {
            // Rejected: the former picture goes back into the working copy, as for a
            // rejected replacement, and the views keep showing it.
            report(error.what());
            try {
                workspace_.WritePicture(number, watch_.Known(number));
                RedrawPreview();
            } catch (const std::exception& again) {
                report(again.what());
            }
            watch_.Acknowledge(number);
            continue;
        }
        // Taken as the editor's picture: no undo step (the other program keeps its
        // own history), but the skin is no longer what was opened or saved.
        watch_.Acknowledge(number);
        SetExtraModified(true);
        try {
            workspace_.ReplacePicture(number, std::nullopt); // the edits first, then the reload
            RedrawPreview();
        } catch (const std::exception& error) {
            report(error.what());
        }
        emit PictureChanged(number);
    }
    if (!messages.empty())
        emit ExternalChangeFailed(messages);
}

void EditingSession::SetSettings(const PreviewSettings& settings)
{
    settings_ = settings;
    emit SettingsChanged();
    if (document_.SkinLoaded)
        RedrawPreview();
}

void EditingSession::RedrawPreview()
{
    // One surface for the whole run: every drawing paints over the last one.
    drawn_.clear();
    DrawPreview(surface_, document_, settings_, &drawn_);
    emit PreviewDrawn();
}

void EditingSession::Select(const std::optional<ElementRef>& element)
{
    if (selection_ == element)
        return;
    EndMerge();
    selection_ = element;
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
    SkinLines& lines = document_.Lines;
    const std::string before = lines.Line(index); // the list error for a line that does not exist
    EndMerge();
    if (bytes != before) {
        const std::string oldName = LineName(lines, index);
        lines.Replace(index, bytes);
        const std::string newName = LineName(lines, index);
        history_.push(new LineStep(*this, index, newName, before, bytes, -1, mergeSerial_));
        emit ElementChanged(oldName);
        if (newName != oldName)
            emit ElementChanged(newName);
    }
    EndMerge();
    document_.ParseSkin();
    RedrawPreview();
}

// ---- Steps taken outside Undo() and Redo() --------------------------------------

std::optional<std::string> EditingSession::TakeStepError()
{
    std::optional<std::string> error;
    error.swap(stepError_);
    return error;
}
