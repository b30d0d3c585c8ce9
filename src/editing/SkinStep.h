#pragma once
// One step of the skin's history: lines and pictures, each before and after. redo()
// puts the after side in place and undo() the before side, through the session;
// neither throws. A step opened with a merge key takes in the next step of the same
// key until it is closed (a field left, a mouse released, a pause in nudging).
#include "PictureContent.h"

#include <QUndoCommand>

#include <functional>
#include <optional>
#include <string>
#include <vector>

struct LineEdit {
    int index = 0;
    std::string key;
    std::string before;
    std::string after;
};

struct PictureEdit {
    int number = 0;
    PictureContent before;
    PictureContent after;
};

// Who makes a run of changes that merge: an element's field, or a tool on it.
struct MergeKey {
    std::string element;
    int control = 0;
    bool operator==(const MergeKey&) const = default;
};

// What the history applies its steps to.
class StepTarget {
public:
    virtual ~StepTarget() = default;
    // Puts the after (forward) or before side of the edits in place. Never throws.
    virtual void ApplyEdits(const std::vector<LineEdit>& lines, const std::vector<PictureEdit>& pictures,
                            bool forward) noexcept = 0;
};

class SkinStep : public QUndoCommand {
public:
    // Names a step by what its lines' edits change; called again when steps merge.
    using Namer = std::function<QString(const std::vector<LineEdit>& lines)>;

    SkinStep(StepTarget& target, const QString& name, std::vector<LineEdit> lines, std::vector<PictureEdit> pictures,
             std::optional<MergeKey> merge = std::nullopt);

    int id() const override { return merge_ ? 1 : -1; }
    bool mergeWith(const QUndoCommand* other) override;
    void redo() override { target_.ApplyEdits(lines_, pictures_, true); }
    void undo() override { target_.ApplyEdits(lines_, pictures_, false); }

    // Takes in no further step.
    void Close() { open_ = false; }
    // From now on, and after each merge, the step is named by namer.
    void SetNamer(Namer namer);
    bool ChangesPictures() const { return !pictures_.empty(); }

private:
    StepTarget& target_;
    std::vector<LineEdit> lines_;
    std::vector<PictureEdit> pictures_;
    std::optional<MergeKey> merge_;
    Namer namer_;
    bool open_ = true;
};
