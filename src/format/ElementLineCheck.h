#pragma once
// The checks of one element's line: its "=", its value words against the key's
// fields, and where what it places lies on the screen.
#include "SkinChecker.h"
#include "SkinFormat.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct KeyRule {
    std::string key;
    SkinCategory category;
    int index; // in its category, model order
    std::span<const LineField> fields;
};

constexpr std::size_t MostFields = 7; // a text line's words

// The 23 keys in model order.
const std::vector<KeyRule>& KeyRules();

// Reports a problem of one line, naming the field when one field is meant.
using Report = std::function<void(const std::string& text, std::optional<FieldId> field)>;
using Numbers = std::array<std::optional<std::int32_t>, MostFields>;

bool IsSkinDelimiter(char c);
std::size_t SkipDelimiters(std::string_view text, std::size_t from = 0);

// Reports each problem of line, which belongs to rule's key.
void CheckElementLine(const KeyRule& rule, const std::string& line, const PictureSizes& sizes, const Report& report);
