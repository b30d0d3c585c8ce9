#include "ElementValues.h"

#include "SkinModel.h"

#include <algorithm>
#include <limits>

namespace {

std::int32_t Shifted(std::int32_t value, int by)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(std::int64_t{value} + by,
                                                              std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

} // namespace

ItemValues ReadElementValues(const SkinLines& lines, SkinCategory category, const std::string& key)
{
    ItemValues values;
    switch (category) {
    case SkinCategory::Strings: {
        const TSkiStr item = ReadSkiStr(lines, key);
        values.X = item.X;
        values.Y = item.Y;
        values.Anchor = item.Anchor;
        values.FontId = item.FontId;
        values.StyleCode = item.StyleCode;
        values.Color = item.Color;
        break;
    }
    case SkinCategory::Pictures: {
        TPicturePos position; // a value that cannot be read shows as 0
        ReadPicturePos(lines, key, position);
        values.X = position.X;
        values.Y = position.Y;
        break;
    }
    case SkinCategory::Objects: {
        const TSkiObject object = ReadSkiObject(lines, key);
        values.X = object.X;
        values.Y = object.Y;
        values.W = object.W;
        values.H = object.H;
        values.Color = object.Color;
        break;
    }
    case SkinCategory::Settings:
        break;
    }
    return values;
}

ItemValues MovedElementValues(SkinCategory category, const std::string& key, ItemValues values, int dx, int dy,
                              bool mirrored)
{
    if (mirrored)
        dx = -dx;
    values.X = Shifted(values.X, dx);
    values.Y = Shifted(values.Y, dy);
    if (category == SkinCategory::Objects && key == ObjectKeys[EdgeSizedObject]) {
        values.W = Shifted(values.W, dx);
        values.H = Shifted(values.H, dy);
    }
    return values;
}
