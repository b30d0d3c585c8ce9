// ParseSkin on any bytes: the file split into lines (which read back the same when
// written), then a complete parse, which must agree with reading each element on
// its own. Only SkinError may escape.
#include "SkinFuzzSupport.h"

#include "SkinNumbers.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const TextLines split = SplitTextLines(bytes);
    CheckLines(split);

    const SkinLines lines(split);
    TSkinModel model;
    try {
        ParseSkinInto(lines, model);
    } catch (const SkinError&) {
        return 0;
    }
    TPicturePos buffer;
    for (int i = 0; i < TextItemCount; ++i) {
        const TSkiStr& item = model.TextItems[static_cast<std::size_t>(i)];
        FUZZ_REQUIRE(item == ReadSkiStr(lines, TextItemKeys[static_cast<std::size_t>(i)]));
    }
    for (int i = 0; i < PictureCount; ++i) {
        ReadPicturePos(lines, PictureKeys[static_cast<std::size_t>(i)], buffer);
        FUZZ_REQUIRE(model.PicturePositions[static_cast<std::size_t>(i)] == buffer);
    }
    for (int i = 0; i < ObjectCount; ++i)
        FUZZ_REQUIRE(model.SkinObjects[static_cast<std::size_t>(i)] == ReadSkiObject(lines, ObjectKeys[static_cast<std::size_t>(i)]));
    FUZZ_REQUIRE(model.StatusLine == ParseSkinInt(lines.Value(StatusLineKey, 1)));
    return 0;
}
