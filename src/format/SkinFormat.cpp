#include "SkinFormat.h"

namespace {

constexpr LineField TextLine[] = {
    {FieldId::X, "x", WordKind::Number, nullptr},
    {FieldId::Y, "y", WordKind::Number, nullptr},
    {FieldId::Anchor, "anchor", WordKind::Number, nullptr},
    {FieldId::FontId, "font id", WordKind::Number, nullptr},
    {FieldId::StyleCode, "style code", WordKind::Number, nullptr},
    {FieldId::Color, "colour", WordKind::Color, nullptr},
    {FieldId::SecondColor, "second colour", WordKind::Color, "0x000000FF"},
};
constexpr LineField PictureLine[] = {
    {FieldId::X, "x", WordKind::Number, nullptr},
    {FieldId::Y, "y", WordKind::Number, nullptr},
    {FieldId::Anchor, "anchor", WordKind::Number, "20"},
};
constexpr LineField ObjectLine[] = {
    {FieldId::X, "x", WordKind::Number, nullptr},
    {FieldId::Y, "y", WordKind::Number, nullptr},
    {FieldId::W, "w", WordKind::Number, nullptr},
    {FieldId::H, "h", WordKind::Number, nullptr},
    {FieldId::Color, "colour", WordKind::Color, nullptr},
};
constexpr LineField SettingLine[] = {
    {FieldId::Setting, "setting", WordKind::Number, nullptr},
};

} // namespace

std::span<const char* const> ElementKeys(SkinCategory category)
{
    switch (category) {
    case SkinCategory::Strings: return TextItemKeys;
    case SkinCategory::Pictures: return PictureKeys;
    case SkinCategory::Objects: return ObjectKeys;
    case SkinCategory::Settings: return {&StatusLineKey, 1};
    }
    return {};
}

std::string KeyName(std::string_view key)
{
    while (!key.empty() && key.back() == ' ')
        key.remove_suffix(1);
    return std::string(key);
}

std::span<const LineField> LineLayout(SkinCategory category)
{
    switch (category) {
    case SkinCategory::Strings: return TextLine;
    case SkinCategory::Pictures: return PictureLine;
    case SkinCategory::Objects: return ObjectLine;
    case SkinCategory::Settings: return SettingLine;
    }
    return {};
}

std::size_t WordOf(SkinCategory category, FieldId field)
{
    const auto layout = LineLayout(category);
    for (std::size_t i = 0; i < layout.size(); ++i)
        if (layout[i].id == field)
            return i + 1;
    return 0;
}

const PictureRole& RoleOfPicture(int number)
{
    for (const PictureRole& role : PictureRoles)
        if (role.number == number)
            return role;
    return PictureRoles.front();
}

int PictureAt(PictureIndex position, PictureShown shown)
{
    for (const PictureRole& role : PictureRoles)
        if (role.placedBy == position && role.shown == shown)
            return role.number;
    return -1;
}

bool FontIdHasSize(std::int32_t fontId)
{
    return (fontId >= 1 && fontId <= 10) || (fontId >= 12 && fontId <= 14);
}

int FontSizeOfId(std::int32_t fontId)
{
    // Every entry of the table is 0; ids without an entry get the same default size.
    static constexpr int tableEntry = 0;
    return FontIdHasSize(fontId) ? tableEntry : DefaultFontSize;
}

bool IsTextAnchor(std::int32_t anchor)
{
    for (const std::int32_t known : TextAnchors)
        if (known == anchor)
            return true;
    return false;
}

TextSide HorizontalSide(std::int32_t anchor)
{
    if (!IsTextAnchor(anchor))
        return TextSide::After;
    if (anchor & AnchorHCenter)
        return TextSide::Centred;
    return (anchor & AnchorRight) ? TextSide::Before : TextSide::After;
}

TextSide VerticalSide(std::int32_t anchor)
{
    if (!IsTextAnchor(anchor))
        return TextSide::After;
    if (anchor & AnchorVCenter)
        return TextSide::Centred;
    return (anchor & AnchorBottom) ? TextSide::Before : TextSide::After;
}

const TextStyle* StyleOfCode(std::int32_t code)
{
    for (const TextStyle& style : TextStyles)
        if (style.code == code)
            return &style;
    return nullptr;
}
