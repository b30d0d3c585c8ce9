#include "LineMending.h"

#include "DialogService.h"
#include "EditingSession.h"
#include "SkinError.h"
#include "SkinModel.h"
#include "SkinNumbers.h"

bool NeedsMendingAsText(const SkinLines& lines, const SkinProblem& problem)
{
    if (problem.line <= 0 || problem.line > lines.Count())
        return false;
    if (problem.key.empty())
        return true;
    try {
        switch (problem.category) {
        case SkinCategory::Strings: ReadSkiStr(lines, problem.key); break;
        case SkinCategory::Objects: ReadSkiObject(lines, problem.key); break;
        case SkinCategory::Settings:
            ParseSkinInt(lines.Value(problem.key, WordOf(SkinCategory::Settings, FieldId::Setting)));
            break;
        case SkinCategory::Pictures: break; // a position that does not read is skipped, not an error
        }
    } catch (const SkinError&) {
        return true;
    }
    return false;
}

void MendLineAsText(EditingSession& session, DialogService& dialogs, int index)
{
    const std::string& line = session.Document().Lines.Line(index);
    if (const auto text = dialogs.EditLineText(index + 1, line))
        session.ReplaceLineText(index, *text);
}

void MendSelectedLine(EditingSession& session, DialogService& dialogs)
{
    const auto& selected = session.Selection();
    if (!selected)
        throw SkinError("Select an element whose line to edit");
    const int index = session.Document().Lines.FindKey(selected->key);
    if (index < 0)
        throw SkinError("No line for \"" + selected->key + "\"");
    MendLineAsText(session, dialogs, index);
}
