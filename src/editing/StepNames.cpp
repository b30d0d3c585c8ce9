#include "StepNames.h"

#include "ElementValues.h"

#include <QStringList>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

QString ElementName(const std::string& key)
{
    const std::string name = KeyName(key);
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

QString ElementStepName(SkinCategory category, const std::string& key, const std::string& before,
                        const std::string& after)
{
    const QString name = ElementName(key);
    ItemValues was;
    ItemValues now;
    try {
        was = ReadElementValues(SkinLines({before}), category, key);
        now = ReadElementValues(SkinLines({after}), category, key);
    } catch (const std::exception&) {
        return name; // a line that does not read: its values cannot be named
    }
    struct Change {
        const char* field;
        std::optional<std::pair<std::int32_t, std::int32_t>> values; // none: the colour
    };
    std::vector<Change> changes;
    const auto number = [&](const char* field, std::int32_t from, std::int32_t to) {
        if (from != to)
            changes.push_back({field, std::pair(from, to)});
    };
    const bool strings = category == SkinCategory::Strings;
    const bool objects = category == SkinCategory::Objects;
    number("X", was.X, now.X);
    number("Y", was.Y, now.Y);
    if (objects) {
        number("W", was.W, now.W);
        number("H", was.H, now.H);
    }
    if (strings) {
        number("anchor", was.Anchor, now.Anchor);
        number("font", was.FontId, now.FontId);
        number("style", was.StyleCode, now.StyleCode);
    }
    if ((strings || objects) && was.Color != now.Color)
        changes.push_back({"colour", std::nullopt});
    if (changes.empty())
        return name;
    if (changes.size() == 2 && QLatin1String(changes[0].field) == QLatin1String("X")
        && QLatin1String(changes[1].field) == QLatin1String("Y"))
        return QStringLiteral("Move ") + name;
    if (changes.size() == 1) {
        const Change& change = changes.front();
        if (!change.values)
            return name + QStringLiteral(": ") + QLatin1String(change.field);
        return QStringLiteral("%1: %2 %3 \u2192 %4")
            .arg(name, QLatin1String(change.field))
            .arg(change.values->first)
            .arg(change.values->second);
    }
    QStringList fields;
    for (const Change& change : changes)
        fields << QLatin1String(change.field);
    const QString last = fields.takeLast();
    return name + QStringLiteral(": ") + fields.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}

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
