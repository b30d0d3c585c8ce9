#include "PreviewState.h"

#include <algorithm>

namespace {

// Whether change touched only lines of elements that are drawn where they are listed:
// a setting (the status line) or a picture can change pixels no listed place holds.
bool ElementsOnly(const SkinChange& change)
{
    if (change.opened || !change.pictures.empty() || change.keys.empty())
        return false;
    const auto settings = ElementKeys(SkinCategory::Settings);
    return std::none_of(change.keys.begin(), change.keys.end(), [&](const std::string& key) {
        return std::find(settings.begin(), settings.end(), key) != settings.end();
    });
}

// Whether change may alter how element looks: its own line, or for the bars the
// Background's, whose colour fills their empty part.
bool Touched(const DrawnElement& element, const SkinChange& change)
{
    if (change.Touches(element.key))
        return true;
    const bool bar = element.category == SkinCategory::Objects && element.key != ObjectKeys[BackgroundObject];
    return bar && change.Touches(ObjectKeys[BackgroundObject]);
}

// Where a drawing may differ from the last: where every element listed in one drawing
// and not the same in the other, and every element change may alter, painted there.
// Rectangles that overlap become the one round both (an element moved a little): each
// piece of a clip costs the elements that reach it.
std::vector<QRect> ChangedArea(const std::vector<DrawnElement>& before, const std::vector<DrawnElement>& after,
                               const SkinChange& change)
{
    std::vector<QRect> area;
    const QRect screen(0, 0, ScreenWidth, ScreenHeight);
    const auto add = [&](const DrawnElement& element, const std::vector<DrawnElement>& other) {
        if (!Touched(element, change) && std::find(other.begin(), other.end(), element) != other.end())
            return;
        QRect rect = element.painted.intersected(screen);
        if (rect.isEmpty())
            return;
        for (auto met = area.begin(); met != area.end();) {
            if (met->intersects(rect)) {
                rect |= *met;
                area.erase(met);
                met = area.begin(); // the larger one may meet one passed over
            } else {
                ++met;
            }
        }
        area.push_back(rect);
    };
    for (const DrawnElement& element : before)
        add(element, after);
    for (const DrawnElement& element : after)
        add(element, before);
    return area;
}

} // namespace

bool PreviewState::SetSampleTexts(std::optional<TextLines> texts)
{
    if (texts == sampleTexts_)
        return false;
    sampleTexts_ = std::move(texts);
    whole_ = false;
    return true;
}

void PreviewState::Draw(const SkinChange* change)
{
    RecolorShown();
    const SkinDocument& shown = Shown();
    const bool partial = change != nullptr && whole_ && !colorPreview_ && ElementsOnly(*change);
    whole_ = false; // until this drawing is done
    // Counted before it paints: a drawing that fails midway may have painted anywhere.
    ++drawings_;
    painted_.emplace_back();
    constexpr std::size_t remembered = 8;
    if (painted_.size() > remembered)
        painted_.pop_front();
    if (partial) {
        // First every element placed, with nothing painted; then the places that changed.
        const std::vector<QRect> nothing;
        std::vector<DrawnElement> now;
        now.reserve(drawn_.size());
        DrawPreview(surface_, shown.Model, shown.Pictures, SampleTexts(), settings_, &now, &cache_, &nothing);
        const std::vector<QRect> changed = ChangedArea(drawn_, now, *change);
        DrawPreview(surface_, shown.Model, shown.Pictures, SampleTexts(), settings_, nullptr, &cache_, &changed);
        painted_.back() = changed;
        drawn_ = std::move(now);
    } else {
        drawn_.clear();
        DrawPreview(surface_, shown.Model, shown.Pictures, SampleTexts(), settings_, &drawn_, &cache_);
    }
    whole_ = !colorPreview_;
    UpdateMarking();
}

std::optional<std::vector<QRect>> PreviewState::ChangedSince(std::uint64_t since) const
{
    if (since > drawings_ || drawings_ - since > painted_.size())
        return std::nullopt;
    std::vector<QRect> changed;
    for (auto drawing = painted_.end() - static_cast<std::ptrdiff_t>(drawings_ - since); drawing != painted_.end();
         ++drawing) {
        if (!*drawing)
            return std::nullopt;
        changed.insert(changed.end(), (*drawing)->begin(), (*drawing)->end());
    }
    return changed;
}

void PreviewState::SetColorPreview(std::optional<ColorMap> map)
{
    colorPreview_ = std::move(map);
    shown_.reset();
    whole_ = false;
}

bool PreviewState::Mark(std::optional<ColorUses> uses)
{
    if (!uses && !marked_)
        return false;
    marked_ = std::move(uses);
    UpdateMarking();
    return true;
}

void PreviewState::UpdateMarking()
{
    marking_.reset();
    if (marked_ && !colorPreview_ && !surface_.isNull())
        marking_ = MarkColor(*marked_, surface_, drawn_, document_.Pictures);
}

void PreviewState::RecolorShown()
{
    shown_.reset();
    if (!colorPreview_)
        return;
    SkinDocument shown = document_;
    for (RecoloredLine& line : RecolorLines(shown.Lines, *colorPreview_))
        shown.Lines.Replace(line.index, std::move(line.text));
    // Only colours change, so the lines parse as they did.
    shown.ParseSkin();
    for (int number = 0; number < SkinPictureCount; ++number) {
        QImage& picture = shown.Pictures[static_cast<std::size_t>(number)];
        picture = RecolorImage(picture, *colorPreview_);
    }
    shown_ = std::move(shown);
}
