#pragma once
// Aligning and distributing the selected elements by what is drawn: a text as
// measured when drawn, a picture by its size. Each is one undo step, and the line
// written is the one the property editor would write for the new X and Y.
#include "CanvasMoveTool.h"

#include <QRect>

#include <functional>
#include <vector>

class ErrorReporter;
class QMenu;
class QToolBar;

enum class Arrangement {
    AlignLeft,
    AlignHCenter,
    AlignRight,
    AlignTop,
    AlignVCenter,
    AlignBottom,
    DistributeH,
    DistributeV,
};

// The whole-pixel offset for each of boxes (the first is the primary element's) so
// that they are arranged: aligned to the primary, or to the screen when there is
// only one; distributed with equal gaps between neighbours (the outermost two stay;
// a remainder goes one pixel each to the first gaps), three boxes at least. A centre
// between two pixels rounds as a centred text is drawn: left + width / 2.
std::vector<QPoint> ArrangedOffsets(const std::vector<QRect>& boxes, Arrangement how);

// Arranges targets (the first is the primary element) as drawn last. Targets not
// drawn stay; nothing changes when there is nothing to arrange.
void Arrange(EditingSession& session, const std::vector<MoveTarget>& targets, Arrangement how);

// The Arrange commands as actions of menu (owner of them) and, when given, of bar:
// each arranges targets() through errors, after before() when given (the canvas puts
// a drag back first). The canvas and the main window offer the same ones.
void AddArrangeActions(QMenu& menu, QToolBar* bar, EditingSession& session, const ErrorReporter& errors,
                       std::function<std::vector<MoveTarget>()> targets, std::function<void()> before = {});
