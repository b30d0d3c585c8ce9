#include "ElementLineCheck.h"

#include "ExWord.h"
#include "ProblemWording.h"
#include "SkinDocument.h"
#include "SkinModel.h"
#include "SkinNumbers.h"

#include <algorithm>
#include <cctype>

const std::vector<KeyRule>& KeyRules()
{
    static const std::vector<KeyRule> rules = [] {
        std::vector<KeyRule> all;
        for (SkinCategory category :
             {SkinCategory::Strings, SkinCategory::Pictures, SkinCategory::Objects, SkinCategory::Settings}) {
            const auto keys = ElementKeys(category);
            for (std::size_t i = 0; i < keys.size(); ++i)
                all.push_back({keys[i], category, static_cast<int>(i), LineLayout(category)});
        }
        return all;
    }();
    return rules;
}

bool IsSkinDelimiter(char c)
{
    return SkinDelimiters().test(static_cast<unsigned char>(c));
}

std::size_t SkipDelimiters(std::string_view text, std::size_t from)
{
    while (from < text.size() && IsSkinDelimiter(text[from]))
        ++from;
    return from;
}

namespace {

// The number read for field of rule's line, if it has that field and it read.
std::optional<std::int32_t> NumberOf(const KeyRule& rule, const Numbers& numbers, FieldId field)
{
    const std::size_t word = WordOf(rule.category, field);
    return word == 0 ? std::nullopt : numbers[word - 1];
}

// Whether a text anchored at p can lie wholly within [0, size) along the axis: a
// point on the far edge of the screen leaves every text outside.
bool PointKeepsTextOnScreen(std::int64_t p, int size, TextSide side)
{
    switch (side) {
    case TextSide::After: return p >= 0 && p < size;
    case TextSide::Before: return p > 0 && p <= size;
    case TextSide::Centred: return p > 0 && p < size;
    }
    return false;
}

bool TextPointOnScreen(std::int64_t x, std::int64_t y, std::int32_t anchor)
{
    return PointKeepsTextOnScreen(x, ScreenWidth, HorizontalSide(anchor))
           && PointKeepsTextOnScreen(y, ScreenHeight, VerticalSide(anchor));
}

// Reports what of the area left <= x < right, top <= y < bottom lies off the screen;
// an empty area paints nothing and lies nowhere.
void CheckArea(const std::string& what, std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
               const Report& report)
{
    if (right <= left || bottom <= top)
        return;
    if (left >= 0 && top >= 0 && right <= ScreenWidth && bottom <= ScreenHeight)
        return;
    const bool wholly = right <= 0 || bottom <= 0 || left >= ScreenWidth || top >= ScreenHeight;
    // The field to mend: X when the columns are off the screen, else Y.
    const bool across = left < 0 || right > ScreenWidth;
    report(what + " lies " + (wholly ? "wholly" : "partly") + " outside " + TheScreen() + ": " + Str(right - left) + "x"
               + Str(bottom - top) + " at " + Point(left, top),
           across ? FieldId::X : FieldId::Y);
}

// Checks every value word against the key's fields; returns the numbers that read.
Numbers CheckWords(const KeyRule& rule, std::string_view text, const Report& report)
{
    Numbers numbers;
    std::vector<std::string> missing;
    std::optional<FieldId> firstMissing;
    const std::string key = Quote(rule.key);
    for (std::size_t k = 0; k < rule.fields.size(); ++k) {
        const LineField& field = rule.fields[k];
        const std::string word = WordAt(k + 1, text, SkinDelimiters());
        if (word.empty()) {
            if (missing.empty())
                firstMissing = field.id;
            missing.push_back(field.name);
        } else if (field.kind == WordKind::Number) {
            numbers[k] = TryParseSkinInt(word);
            if (!numbers[k])
                report(key + ": " + field.name + " " + Quote(word) + " is not a number", field.id);
        } else if (!IsColorWord(word)) {
            report(key + ": " + field.name + " " + Quote(word) + " is not \"0x\" and eight hexadecimal digits", field.id);
        }
    }
    if (!missing.empty())
        report(key + ": missing " + JoinNames(missing), firstMissing);

    const std::size_t extra = WordStart(rule.fields.size() + 1, text, SkinDelimiters());
    if (extra != 0) {
        std::string_view rest = text.substr(extra - 1);
        while (!rest.empty() && IsSkinDelimiter(rest.back()))
            rest.remove_suffix(1);
        const bool oneWord = WordStart(2, rest, SkinDelimiters()) == 0;
        const std::size_t count = rule.fields.size();
        report(key + ": " + (oneWord ? "extra word" : "extra words") + " after its " + Str(static_cast<std::int64_t>(count))
               + (count == 1 ? " value: " : " values: ") + Quote(rest),
               std::nullopt);
    }
    return numbers;
}

void CheckTextItem(const KeyRule& rule, const Numbers& numbers, const Report& report)
{
    const std::string key = Quote(rule.key);
    const auto x = NumberOf(rule, numbers, FieldId::X);
    const auto y = NumberOf(rule, numbers, FieldId::Y);
    const auto anchor = NumberOf(rule, numbers, FieldId::Anchor);
    const auto fontId = NumberOf(rule, numbers, FieldId::FontId);
    const auto style = NumberOf(rule, numbers, FieldId::StyleCode);
    if (anchor && !IsTextAnchor(*anchor))
        report(key + ": anchor " + Str(*anchor) + " is not one of " + AnchorList(), FieldId::Anchor);
    if (fontId && !FontIdHasSize(*fontId))
        report(key + ": font id " + Str(*fontId) + " has no size; the fonts are " + FontIdList(), FieldId::FontId);
    if (style && StyleOfCode(*style) == nullptr)
        report(key + ": style code " + Str(*style) + " is not " + StyleList(), FieldId::StyleCode);
    if (!x || !y)
        return;
    // The field to mend, as for an area: Y when only the row is off the screen, else X.
    const auto fieldOff = [](bool columnOn) { return columnOn ? FieldId::Y : FieldId::X; };
    const std::int32_t shownAnchor = anchor.value_or(AnchorTop + AnchorLeft);
    if (!TextPointOnScreen(*x, *y, shownAnchor))
        report(key + ": anchor point " + Point(*x, *y) + " puts the text outside " + TheScreen(),
               fieldOff(PointKeepsTextOnScreen(*x, ScreenWidth, HorizontalSide(shownAnchor))));
    if (rule.index == SoftLabelItem) {
        // The right soft label mirrors the left one: its right edge ends X pixels
        // before the screen's right edge, its top at Y.
        const std::int64_t right = std::int64_t{ScreenWidth} - *x;
        const bool columnOn = PointKeepsTextOnScreen(right, ScreenWidth, TextSide::Before);
        if (!columnOn || !PointKeepsTextOnScreen(*y, ScreenHeight, TextSide::After))
            report(key + ": the right soft label's anchor point " + Point(right, *y) + " puts it outside " + TheScreen(),
                   fieldOff(columnOn));
    }
}

void CheckPicturePosition(const KeyRule& rule, const Numbers& numbers, const PictureSizes& sizes, const Report& report)
{
    const auto px = NumberOf(rule, numbers, FieldId::X);
    const auto py = NumberOf(rule, numbers, FieldId::Y);
    if (!px || !py)
        return;
    for (const PictureRole& role : PictureRoles) {
        const int number = role.number;
        if (role.placedBy != rule.index || !sizes[static_cast<std::size_t>(number)])
            continue;
        const QSize size = *sizes[static_cast<std::size_t>(number)];
        const std::int64_t x = *px, y = *py;
        CheckArea(Quote(rule.key) + ": " + PictureFileName(number).toStdString(), x, y, x + size.width(),
                  y + size.height(), report);
    }
}

void CheckObject(const KeyRule& rule, const Numbers& numbers, const Report& report)
{
    const auto nx = NumberOf(rule, numbers, FieldId::X), ny = NumberOf(rule, numbers, FieldId::Y);
    const auto nw = NumberOf(rule, numbers, FieldId::W), nh = NumberOf(rule, numbers, FieldId::H);
    if (!nx || !ny || !nw || !nh)
        return;
    const std::int64_t x = *nx, y = *ny, w = *nw, h = *nh;
    const std::string what = Quote(rule.key) + ": the rectangle";
    if (rule.index == EdgeSizedObject)
        CheckArea(what, x, y, w, h, report);
    else
        CheckArea(what, x, y, x + w, y + h, report);
}

} // namespace

void CheckElementLine(const KeyRule& rule, const std::string& line, const PictureSizes& sizes, const Report& report)
{
    const std::string key = Quote(rule.key);
    const auto equals = line.find('=');
    if (equals == std::string::npos) {
        report(key + ": no \"=\" after the key", std::nullopt);
        return;
    }
    // The character after "=" is never read: a digit there is lost.
    if (equals + 1 < line.size() && !IsSkinDelimiter(line[equals + 1]))
        report(key + ": \"=\" must be followed by a blank; " + Quote(line.substr(equals + 1, 1)) + " after it is skipped",
               std::nullopt);

    const Numbers numbers = CheckWords(rule, ValueText(line), report);
    switch (rule.category) {
    case SkinCategory::Strings: CheckTextItem(rule, numbers, report); break;
    case SkinCategory::Pictures: CheckPicturePosition(rule, numbers, sizes, report); break;
    case SkinCategory::Objects: CheckObject(rule, numbers, report); break;
    case SkinCategory::Settings:
        if (const auto setting = NumberOf(rule, numbers, FieldId::Setting); setting && *setting != 0 && *setting != 1)
            report(key + ": setting " + Str(*setting) + " is not 0 (off) or 1 (on)", FieldId::Setting);
        break;
    }
}
