#pragma once
// Moving elements on the canvas: a drag (press, move, release, or cancel with Escape)
// and nudges by the arrow keys. The tool knows positions only as the view hands them
// over and changes the skin through the session alone, like a change in the property
// editor: one undo step per drag or per burst of nudges. It works on a list of
// elements so that a selection of several moves the same way.
#include "CanvasSnap.h"
#include "EditingSession.h"

#include <QElapsedTimer>
#include <QPointF>

#include <optional>
#include <vector>

// One element a gesture moves; the right soft label is SoftLabel mirrored.
struct MoveTarget {
    ElementRef element;
    bool mirrored = false;
    bool operator==(const MoveTarget&) const = default;
};

// The values the property editor shows for element's line, as it writes them back:
// the codes of a text item through its lists.
ItemValues ShownValues(const SkinDocument& document, const ElementRef& element);

// The name of a step on elements: "Move Artist", or "Move 3 elements" for several.
QString StepName(const QString& verb, const std::vector<ElementRef>& elements);

class CanvasMoveTool {
public:
    static constexpr int NudgeMergeMs = 1000; // nudges closer than this are one step

    // dragDistance: viewport pixels the mouse must travel before a press becomes a drag.
    CanvasMoveTool(EditingSession& session, int dragDistance);

    bool Dragging() const { return drag_.has_value(); }

    // Whether a drag snaps to the screen's and other elements' edges and centres.
    void SetSnapping(bool snapping) { snapping_ = snapping; }
    bool Snapping() const { return snapping_; }
    // The lines the drag holds to now, for the view to draw.
    const SnapGuides& Guides() const { return guides_; }

    // A press at a viewport position over skinPoint on targets; those without a line
    // of their own are not moved. Ends a drag still going, as Cancel does.
    void Press(std::vector<MoveTarget> targets, QPointF position, QPoint skinPoint);
    // The mouse at position over skinPoint: the targets follow by whole skin pixels,
    // shown at once; straight keeps the move horizontal or vertical; free (Alt held)
    // moves without snapping.
    void Move(QPointF position, QPoint skinPoint, bool straight, bool free = false);
    // Ends the drag as one undo step ("Move 3 elements"); nothing when the mouse
    // never moved far enough.
    void Release();
    // Every line back as it was, and the history as it was.
    void Cancel();
    // Forgets the drag without touching the session (another skin came in).
    void Forget() { drag_.reset(); }

    // Moves targets by `by` skin pixels at once, never snapping; a pause or other
    // targets end a burst, which is one undo step.
    void Nudge(const std::vector<MoveTarget>& targets, QPoint by);

private:
    struct Moved {
        MoveTarget target;
        ItemValues start;
    };
    struct Drag {
        std::vector<Moved> moved;
        QPointF pressedAt;
        QPoint pressedOver;
        bool moving = false;
        QPoint stored{0, 0}; // the move last written
        SnapHelper snap;     // the targets' drawn box against the other elements
    };

    // The offset a point of the gesture moves by, snapped unless free; straight
    // keeps one axis, which then holds to no line.
    QPoint Offset(QPoint by, bool straight, bool free);
    // Writes every target of the drag moved by `by`, drawn once.
    void Store(const std::vector<Moved>& moved, QPoint by);

    EditingSession& session_;
    int dragDistance_;
    std::optional<Drag> drag_;
    bool snapping_ = true;
    SnapGuides guides_;
    std::vector<ElementRef> nudged_; // the elements of the burst, mirrored or not
    QElapsedTimer lastNudge_;
};
