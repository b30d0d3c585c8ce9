#include "SkinChecker.h"

#include "ElementLineCheck.h"
#include "ExWord.h"
#include "ProblemWording.h"
#include "SkinDocument.h"
#include "SkinError.h"
#include "SkinLines.h"
#include "SkinModel.h"
#include "SkinNumbers.h"

#include <algorithm>
#include <cctype>

namespace {

// Lines no key reads are listed one by one up to this many; the rest are counted
// in one more problem. A megabyte of junk lines would otherwise give half a million
// problems: hundreds of megabytes and seconds in check and on the Problems page.
constexpr std::int64_t MaxListedUnreadLines = 100;

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
        const std::string bare = KeyName(rule.key);
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
