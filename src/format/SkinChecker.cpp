#include "SkinChecker.h"

#include "ExWord.h"
#include "SkinDocument.h"
#include "SkinError.h"
#include "SkinLines.h"
#include "SkinModel.h"
#include "SkinNumbers.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <span>

namespace {

struct KeyRule {
    std::string key;
    SkinCategory category;
    int index; // in its category, model order
    std::span<const LineField> fields;
};

constexpr std::size_t MostFields = 7; // a text line's words

// The 23 keys in model order.
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

// Lines no key reads are listed one by one up to this many; the rest are counted
// in one more problem. A megabyte of junk lines would otherwise give half a million
// problems: hundreds of megabytes and seconds in check and on the Problems page.
constexpr std::int64_t MaxListedUnreadLines = 100;

// Reports a problem of one line, naming the field when one field is meant.
using Report = std::function<void(const std::string& text, std::optional<FieldId> field)>;
using Numbers = std::array<std::optional<std::int32_t>, MostFields>;

// The number read for field of rule's line, if it has that field and it read.
std::optional<std::int32_t> NumberOf(const KeyRule& rule, const Numbers& numbers, FieldId field)
{
    const std::size_t word = WordOf(rule.category, field);
    return word == 0 ? std::nullopt : numbers[word - 1];
}

// Quote, Point and ProblemLine append piece by piece: g++ 12 at -O3 warns falsely
// (-Wrestrict) on a literal + a temporary string.
// A word or line of the file is quoted up to MaxQuotedBytes (QuotedPart).
std::string Quote(std::string_view text)
{
    std::string quoted = "\"";
    quoted += QuotedPart(text);
    quoted += '"';
    return quoted;
}

std::string Str(std::int64_t value)
{
    return std::to_string(value);
}

std::string TheScreen()
{
    return "the " + Str(ScreenWidth) + "x" + Str(ScreenHeight) + " screen";
}

std::string Point(std::int64_t x, std::int64_t y)
{
    std::string point = "(";
    point += Str(x);
    point += ", ";
    point += Str(y);
    point += ')';
    return point;
}

// "a", "a and b", "a, b and c".
std::string JoinNames(const std::vector<std::string>& names)
{
    std::string out;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0)
            out += i + 1 == names.size() ? " and " : ", ";
        out += names[i];
    }
    return out;
}

bool IsSkinDelimiter(char c)
{
    return SkinDelimiters().test(static_cast<unsigned char>(c));
}

std::size_t SkipDelimiters(std::string_view text, std::size_t from = 0)
{
    while (from < text.size() && IsSkinDelimiter(text[from]))
        ++from;
    return from;
}

bool IsColorString(std::string_view word)
{
    return word.size() == 10 && word.substr(0, 2) == "0x"
           && std::all_of(word.begin() + 2, word.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; });
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

// "3, 6, ..., 72": the anchors the phone knows, for a message.
std::string AnchorList()
{
    std::string list;
    for (const std::int32_t anchor : TextAnchors)
        list += (list.empty() ? "" : ", ") + std::to_string(anchor);
    return list;
}

// "255 (plain), 1 (italic), 2 (bold) or 3 (bold italic)", for a message.
std::string StyleList()
{
    std::string list;
    for (std::size_t i = 0; i < TextStyles.size(); ++i) {
        std::string name = TextStyles[i].name;
        std::transform(name.begin(), name.end(), name.begin(), [](char c) {
            return c == '_' ? ' ' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        });
        list += (i == 0 ? "" : i + 1 == TextStyles.size() ? " or " : ", ") + std::to_string(TextStyles[i].code) + " ("
                + name + ")";
    }
    return list;
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
        } else if (!IsColorString(word)) {
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
        report(key + ": font id " + Str(*fontId) + " has no size; the fonts are 1 to 10 and 12 to 14", FieldId::FontId);
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

// Index into KeyRules() of the key the line belongs to, or -1.
int RuleOfLine(const std::string& line)
{
    const auto& rules = KeyRules();
    for (std::size_t r = 0; r < rules.size(); ++r)
        if (LineBelongsToKey(line, rules[r].key))
            return static_cast<int>(r);
    return -1;
}

bool IsEmptyOrComment(std::string_view line)
{
    const std::size_t start = SkipDelimiters(line);
    return start == line.size() || line[start] == ';';
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// Why a line that belongs to no key and is no comment is not read.
std::string UnreadLineText(std::string_view line, bool firstLine)
{
    if (firstLine && line.starts_with("\xEF\xBB\xBF"))
        return "the file begins with a UTF-8 byte order mark, which is read as part of this line";
    const std::size_t start = SkipDelimiters(line);
    std::size_t end = start;
    while (end < line.size() && line[end] != '=' && !IsSkinDelimiter(line[end]))
        ++end;
    const std::string_view name = line.substr(start, end - start);
    for (const KeyRule& rule : KeyRules()) {
        std::string_view bare = rule.key;
        if (bare.ends_with(' '))
            bare.remove_suffix(1);
        if (name == bare) {
            if (start > 0)
                return Quote(bare) + " does not begin the line, so the line is not read";
            return Quote(bare) + " needs a blank before \"=\", so the line is not read";
        }
        if (EqualsIgnoringCase(name, bare))
            return Quote(name) + " is not " + Quote(rule.key) + ": keys are case-sensitive, so the line is not read";
    }
    return "not recognised: neither an element line, an empty line nor a \";\" comment";
}

SkinProblem PictureProblem(int number, const std::string& text)
{
    SkinProblem problem{PictureFileName(number).toStdString(), 0, text};
    problem.picture = number;
    return problem;
}

// The sizes of the pictures that decoded.
PictureSizes SizesOf(const PictureFindings& found)
{
    PictureSizes sizes;
    for (std::size_t number = 0; number < sizes.size(); ++number)
        if (found[number].problem.empty())
            sizes[number] = found[number].size;
    return sizes;
}

// The text a NUL byte cut short says so: the editor would write it back without
// what follows.
void ReportCut(const std::optional<TextCut>& cut, std::vector<SkinProblem>& problems)
{
    if (!cut)
        return;
    problems.push_back({DescriptionFileName, cut->line,
                        "a NUL byte ends the text here; the " + Str(static_cast<std::int64_t>(cut->ignoredBytes))
                            + (cut->ignoredBytes == 1 ? " byte after it is" : " bytes after it are")
                            + " ignored and will not be written back"});
}

} // namespace

std::string ProblemLine(const SkinProblem& problem)
{
    return problem.file + (problem.line > 0 ? ':' + std::to_string(problem.line) : std::string()) + ": " + problem.text;
}

std::string NoLineReason(const TextLines& lines, const std::optional<TextCut>& cut)
{
    if (!lines.empty())
        return {};
    if (cut)
        return ProblemLine({DescriptionFileName, cut->line, "a NUL byte ends the text at its first byte"});
    return ProblemLine({DescriptionFileName, 0, "the file is empty"});
}

std::vector<SkinProblem> CheckDescription(const TextLines& lines, const PictureSizes& sizes)
{
    const auto& rules = KeyRules();
    std::vector<SkinProblem> problems;
    // Reports at line (0: none) about the element of rules[rule] (-1: none).
    const auto reportAt = [&problems, &rules](int line, int rule) -> Report {
        return [&problems, &rules, line, rule](const std::string& text, std::optional<FieldId> field) {
            SkinProblem problem{DescriptionFileName, line, text};
            if (rule >= 0) {
                const KeyRule& element = rules[static_cast<std::size_t>(rule)];
                problem.category = element.category;
                problem.key = element.key;
                problem.field = field;
            }
            problems.push_back(std::move(problem));
        };
    };

    std::vector<int> ruleOfLine(lines.size());
    std::vector<int> firstLine(rules.size(), -1);
    std::vector<int> lastLine(rules.size(), -1);
    std::vector<std::int64_t> lineCount(rules.size(), 0);
    std::int64_t unreadLines = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        ruleOfLine[i] = RuleOfLine(lines[i]);
        if (ruleOfLine[i] < 0) {
            if (!IsEmptyOrComment(lines[i]))
                ++unreadLines;
            continue;
        }
        const auto r = static_cast<std::size_t>(ruleOfLine[i]);
        if (firstLine[r] < 0)
            firstLine[r] = static_cast<int>(i);
        lastLine[r] = static_cast<int>(i);
        ++lineCount[r];
    }
    for (std::size_t r = 0; r < rules.size(); ++r)
        if (lastLine[r] < 0)
            reportAt(0, static_cast<int>(r))("no line for " + Quote(rules[r].key), std::nullopt);

    std::int64_t listedUnread = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int lineNumber = static_cast<int>(i) + 1;
        if (ruleOfLine[i] < 0) {
            if (IsEmptyOrComment(lines[i]) || listedUnread > MaxListedUnreadLines)
                continue;
            if (++listedUnread <= MaxListedUnreadLines)
                reportAt(lineNumber, -1)(UnreadLineText(lines[i], i == 0), std::nullopt);
            else
                reportAt(lineNumber, -1)("not listed: this line and " + Str(unreadLines - MaxListedUnreadLines - 1)
                                             + " more after it that no key reads (the first "
                                             + Str(MaxListedUnreadLines) + " are listed)",
                                         std::nullopt);
            continue;
        }
        const auto r = static_cast<std::size_t>(ruleOfLine[i]);
        if (firstLine[r] != static_cast<int>(i) && lastLine[r] != static_cast<int>(i))
            continue; // a middle line of a repeated key: nothing to say about it
        const Report report = reportAt(lineNumber, ruleOfLine[i]);
        // A repeated key is told once, at its first line: a file of thousands of
        // copies of one line gives one problem, not thousands.
        if (firstLine[r] == static_cast<int>(i) && lineCount[r] > 1)
            report(Quote(rules[r].key) + " has " + Str(lineCount[r]) + " lines; only the last one (" + Str(lastLine[r] + 1)
                       + ") counts",
                   std::nullopt);
        if (lastLine[r] == static_cast<int>(i))
            CheckElementLine(rules[r], lines[i], sizes, report);
    }
    return problems;
}

std::vector<SkinProblem> PictureProblems(const PictureFindings& found)
{
    std::vector<SkinProblem> problems;
    for (int number = 0; number < SkinPictureCount; ++number) {
        const PictureFinding& finding = found[static_cast<std::size_t>(number)];
        if (!finding.problem.empty())
            problems.push_back(PictureProblem(number, finding.problem));
        if (finding.borrowed)
            problems.push_back(PictureProblem(number, "not in the opened skin; the working copy's earlier picture is used"));
    }
    return problems;
}

namespace {

std::vector<SkinProblem> CheckHeldSkin(const TextLines& lines, const std::optional<TextCut>& cut,
                                       const PictureFindings& found)
{
    // The cut first: the lines it leaves out are why keys have no line.
    std::vector<SkinProblem> problems;
    if (lines.empty() && !cut)
        problems.push_back({DescriptionFileName, 0, "the file is empty"});
    ReportCut(cut, problems);
    const std::vector<SkinProblem> description = CheckDescription(lines, SizesOf(found));
    problems.insert(problems.end(), description.begin(), description.end());
    const std::vector<SkinProblem> pictures = PictureProblems(found);
    problems.insert(problems.end(), pictures.begin(), pictures.end());
    return problems;
}

} // namespace

std::vector<SkinProblem> CheckSkin(std::string_view description, const PictureFindings& found)
{
    return CheckHeldSkin(SplitTextLines(description), FindTextCut(description), found);
}

std::vector<SkinProblem> CheckDocument(const SkinDocument& document)
{
    if (document.SkinFileName.isEmpty())
        return {};
    return CheckHeldSkin(document.Lines.Lines(), document.DescriptionCut, document.PictureFound);
}
