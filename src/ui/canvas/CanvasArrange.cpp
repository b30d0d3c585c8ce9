#include "CanvasArrange.h"

#include "CanvasPicking.h"
#include "CanvasSnap.h"
#include "ElementValues.h"
#include "ErrorReporter.h"
#include "SkinFormat.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>

#include <algorithm>
#include <numeric>

namespace {

struct ArrangeTool {
    const char* name;
    const char* verb;
    const char* how; // the menu caption after the verb, and the step name's note
    const char* shortCaption;
    QKeyCombination key;
    Arrangement arrangement;
};

constexpr ArrangeTool ArrangeTools[] = {
    {"AlignLeft", "Align", "left edges", "|\u2190", Qt::CTRL | Qt::SHIFT | Qt::Key_Left, Arrangement::AlignLeft},
    {"AlignHCenter", "Align", "horizontal centres", "\u2194", Qt::CTRL | Qt::SHIFT | Qt::Key_H, Arrangement::AlignHCenter},
    {"AlignRight", "Align", "right edges", "\u2192|", Qt::CTRL | Qt::SHIFT | Qt::Key_Right, Arrangement::AlignRight},
    {"AlignTop", "Align", "top edges", "\u2191", Qt::CTRL | Qt::SHIFT | Qt::Key_Up, Arrangement::AlignTop},
    {"AlignVCenter", "Align", "vertical centres", "\u2195", Qt::CTRL | Qt::SHIFT | Qt::Key_V, Arrangement::AlignVCenter},
    {"AlignBottom", "Align", "bottom edges", "\u2193", Qt::CTRL | Qt::SHIFT | Qt::Key_Down, Arrangement::AlignBottom},
    {"DistributeH", "Distribute", "horizontally", "\u2194\u2194", Qt::CTRL | Qt::ALT | Qt::Key_H, Arrangement::DistributeH},
    {"DistributeV", "Distribute", "vertically", "\u2195\u2195", Qt::CTRL | Qt::ALT | Qt::Key_V, Arrangement::DistributeV},
};

const ArrangeTool& ToolOf(Arrangement how)
{
    return *std::find_if(std::begin(ArrangeTools), std::end(ArrangeTools),
                         [how](const ArrangeTool& tool) { return tool.arrangement == how; });
}

// Where a box lies along one axis.
struct Span {
    int start;
    int length;
    int Center() const { return start + length / 2; }
    int End() const { return start + length; }
};

Span Along(const QRect& box, bool horizontal)
{
    return horizontal ? Span{box.left(), box.width()} : Span{box.top(), box.height()};
}

// The shifts along one axis that distribute spans with equal gaps.
std::vector<int> Distributed(const std::vector<Span>& spans)
{
    std::vector<int> shifts(spans.size(), 0);
    if (spans.size() < 3)
        return shifts;
    std::vector<std::size_t> order(spans.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return spans[a].Center() < spans[b].Center();
    });
    const Span& first = spans[order.front()];
    const Span& last = spans[order.back()];
    long long inner = 0;
    for (std::size_t i = 1; i + 1 < order.size(); ++i)
        inner += spans[order[i]].length;
    const long long free = static_cast<long long>(last.start) - first.End() - inner;
    const auto gaps = static_cast<long long>(order.size() - 1);
    // Floor division, so that overlapping elements still get equal (negative) gaps.
    long long gap = free / gaps;
    long long remainder = free % gaps;
    if (remainder < 0) {
        gap -= 1;
        remainder += gaps;
    }
    long long at = first.End();
    for (std::size_t i = 1; i + 1 < order.size(); ++i) {
        at += gap + (static_cast<long long>(i) <= remainder ? 1 : 0);
        shifts[order[i]] = static_cast<int>(at - spans[order[i]].start);
        at += spans[order[i]].length;
    }
    return shifts;
}

} // namespace

std::vector<QPoint> ArrangedOffsets(const std::vector<QRect>& boxes, Arrangement how)
{
    std::vector<QPoint> offsets(boxes.size());
    if (boxes.empty())
        return offsets;
    if (how == Arrangement::DistributeH || how == Arrangement::DistributeV) {
        const bool horizontal = how == Arrangement::DistributeH;
        std::vector<Span> spans;
        for (const QRect& box : boxes)
            spans.push_back(Along(box, horizontal));
        const std::vector<int> shifts = Distributed(spans);
        for (std::size_t i = 0; i < boxes.size(); ++i)
            offsets[i] = horizontal ? QPoint(shifts[i], 0) : QPoint(0, shifts[i]);
        return offsets;
    }
    const bool horizontal = how == Arrangement::AlignLeft || how == Arrangement::AlignHCenter
        || how == Arrangement::AlignRight;
    const QRect screen(0, 0, ScreenWidth, ScreenHeight);
    const Span reference = Along(boxes.size() == 1 ? screen : boxes.front(), horizontal);
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const Span span = Along(boxes[i], horizontal);
        int shift = 0;
        switch (how) {
        case Arrangement::AlignLeft:
        case Arrangement::AlignTop: shift = reference.start - span.start; break;
        case Arrangement::AlignRight:
        case Arrangement::AlignBottom: shift = reference.End() - span.End(); break;
        default: shift = reference.Center() - span.Center(); break;
        }
        offsets[i] = horizontal ? QPoint(shift, 0) : QPoint(0, shift);
    }
    return offsets;
}

void Arrange(EditingSession& session, const std::vector<MoveTarget>& targets, Arrangement how)
{
    std::vector<MoveTarget> placed;
    std::vector<ElementRef> elements;
    std::vector<QRect> boxes;
    for (const MoveTarget& target : targets) {
        const auto& drawn = session.DrawnElements();
        const auto found = std::find_if(drawn.begin(), drawn.end(),
                                        [&](const DrawnElement& d) { return Is(d, target.element, target.mirrored); });
        if (found == drawn.end() || session.Document().Lines.FindKey(target.element.key) < 0)
            continue;
        placed.push_back(target);
        elements.push_back(target.element);
        boxes.push_back(found->bounds);
    }
    const std::vector<QPoint> offsets = ArrangedOffsets(boxes, how);
    std::vector<std::pair<ElementRef, ItemValues>> values;
    for (std::size_t i = 0; i < placed.size(); ++i) {
        if (offsets[i].isNull())
            continue;
        const ElementRef& element = placed[i].element;
        values.emplace_back(element, MovedElementValues(element.category, element.key,
                                                        ShownValues(session.Document(), element), offsets[i].x(),
                                                        offsets[i].y(), placed[i].mirrored));
    }
    if (values.empty())
        return;
    try {
        session.StoreElementsLive(values);
    } catch (...) {
        session.CancelLive(); // every line back: no half-arranged selection
        throw;
    }
    // "Align 3 elements (horizontal centres)": the history says how.
    const ArrangeTool& tool = ToolOf(how);
    session.CommitLive(StepName(QString::fromLatin1(tool.verb), elements) + QStringLiteral(" (%1)").arg(QString::fromLatin1(tool.how)));
}

void AddArrangeActions(QMenu& menu, QToolBar* bar, EditingSession& session, const ErrorReporter& errors,
                       std::function<std::vector<MoveTarget>()> targets, std::function<void()> before)
{
    for (const ArrangeTool& tool : ArrangeTools) {
        if (tool.arrangement == Arrangement::AlignTop || tool.arrangement == Arrangement::DistributeH) {
            menu.addSeparator();
            if (bar != nullptr)
                bar->addSeparator();
        }
        auto* action = menu.addAction(QString::fromLatin1(tool.verb) + ' ' + QString::fromLatin1(tool.how));
        action->setObjectName(QString::fromLatin1(tool.name));
        action->setShortcut(QKeySequence(tool.key));
        action->setIconText(QString::fromUtf8(tool.shortCaption));
        action->setToolTip(action->text() + QStringLiteral(" (") + action->shortcut().toString(QKeySequence::NativeText)
                           + ')');
        if (bar != nullptr)
            bar->addAction(action);
        QObject::connect(action, &QAction::triggered, &menu, [&session, &errors, targets, before, how = tool.arrangement] {
            errors.Run([&] {
                if (before)
                    before();
                Arrange(session, targets(), how);
            });
        });
    }
}
