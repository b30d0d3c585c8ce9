#include "SkinLines.h"

#include "SkinError.h"

#include <algorithm>

const DelimiterSet& SkinDelimiters()
{
    static const DelimiterSet set = MakeDelimiters({0, 1, 2, 7, 8, 9, 10, 13, 32, 160});
    return set;
}

const std::string& SkinLines::Line(int index) const
{
    if (index < 0 || index >= Count())
        ThrowListIndexError(index);
    return lines_[static_cast<std::size_t>(index)];
}

void SkinLines::Assign(std::vector<std::string> lines)
{
    lines_ = std::move(lines);
    keyLines_.clear();
}

void SkinLines::Replace(int index, std::string text)
{
    if (index < 0 || index >= Count())
        ThrowListIndexError(index);
    std::string& line = lines_[static_cast<std::size_t>(index)];
    line = std::move(text);
    for (auto& [key, found] : keyLines_) {
        if (LineBelongsToKey(line, key))
            found = std::max(found, index);
        else if (found == index) // the key's last line now belongs elsewhere
            found = ScanForKey(key);
    }
}

bool LineBelongsToKey(std::string_view line, std::string_view key)
{
    if (!line.starts_with(key))
        return false;
    if (key.empty() || key.back() == ' ' || line.size() == key.size())
        return true;
    const char next = line[key.size()];
    return next == '=' || SkinDelimiters().test(static_cast<unsigned char>(next));
}

int SkinLines::ScanForKey(const std::string& key) const
{
    for (int i = Count() - 1; i >= 0; --i) {
        if (LineBelongsToKey(lines_[static_cast<std::size_t>(i)], key))
            return i;
    }
    return -1;
}

int SkinLines::FindKey(const std::string& key) const
{
    if (const auto known = keyLines_.find(key); known != keyLines_.end())
        return known->second;
    // Callers ask for a fixed set of keys; a flood of others only costs scans.
    static constexpr std::size_t maxRemembered = 256;
    if (keyLines_.size() >= maxRemembered)
        keyLines_.clear();
    const int found = ScanForKey(key);
    keyLines_.emplace(key, found);
    return found;
}

std::string_view ValueText(const std::string& line)
{
    const auto eq = line.find('=');
    // Without "=", the value text starts at the second character.
    const std::size_t start = eq == std::string::npos ? 1 : eq + 2;
    if (start >= line.size())
        return {};
    return std::string_view(line).substr(start);
}

std::string SkinLines::Value(const std::string& key, std::size_t n) const
{
    return WordAt(n, ValueText(Line(FindKey(key))), SkinDelimiters());
}
