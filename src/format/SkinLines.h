#pragma once
// The in-memory lines of a skin description file, with the lookup of a key's line
// and of its value words. Lines are replaced one at a time, never inserted or removed.
#include "ExWord.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// Bytes that separate value words: 0, 1, 2, 7, 8, TAB, LF, CR, blank and 160.
const DelimiterSet& SkinDelimiters();

// Lookups remember the line found for each key (the index of key lines), so a
// parse after an edit finds every key without passing the other lines again. Assign
// forgets it and Replace keeps it true. Not for use from several threads at once.
class SkinLines {
public:
    SkinLines() = default;
    explicit SkinLines(std::vector<std::string> lines) : lines_(std::move(lines)) {}

    int Count() const { return static_cast<int>(lines_.size()); }
    const std::vector<std::string>& Lines() const { return lines_; }
    void Assign(std::vector<std::string> lines);

    // Throws "List index out of bounds (%d)" for an index that does not exist.
    const std::string& Line(int index) const;
    void Replace(int index, std::string text);

    // Index of the last line that belongs to key, or -1.
    int FindKey(const std::string& key) const;

    // The n-th value word of key's line; empty when the line has fewer words.
    // Throws the list error when no line belongs to key.
    std::string Value(const std::string& key, std::size_t n) const;

private:
    int ScanForKey(const std::string& key) const;

    std::vector<std::string> lines_;
    mutable std::unordered_map<std::string, int> keyLines_; // key -> FindKey's answer
};

// Whether line belongs to key: the line begins with key, and a key that does not end
// in a blank is followed by the end of the line, "=" or a delimiter (so "Playlist"
// lines are not "Play" lines).
bool LineBelongsToKey(std::string_view line, std::string_view key);

// The text after the first "=" and the one character following it.
std::string_view ValueText(const std::string& line);
