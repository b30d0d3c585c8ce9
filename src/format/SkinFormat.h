#pragma once
// The skin format in one table: the screen, the description file's name, the
// elements and the words of their lines, the fifteen pictures and their roles, and
// the font ids. The reader, the line composer, the checker, the renderer and the
// editor's lists all take these facts from here. The format's quirks are entries of
// the table on purpose, not tidied away: files in the wild rely on them.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

inline constexpr int ScreenWidth = 176;
inline constexpr int ScreenHeight = 220;
inline constexpr const char* DescriptionFileName = "Ruvex.rvk";

// The kinds of element; the first three are the editor's categories, in its list's order.
enum class SkinCategory { Strings = 0, Pictures = 1, Objects = 2, Settings = 3 };

// ---- Elements, in model order -------------------------------------------------

inline constexpr int TextItemCount = 9;
inline constexpr int PictureCount = 10; // picture positions: the lines that place pictures
inline constexpr int ObjectCount = 3;

// "Title " and "Time " are written with a blank before "=": the blank is part of the key.
inline constexpr std::array<const char*, TextItemCount> TextItemKeys = {
    "TrackNumber", "Playlist", "Artist", "Title ", "Album", "Time ", "TimeCurrent", "TimeElapsed", "SoftLabel"};
inline constexpr std::array<const char*, PictureCount> PictureKeys = {
    "TitlePicture", "SoftPicture", "Backward", "Play", "Pause", "Stop", "Forward", "Random", "RepetitionOne",
    "RepetitionAll"};
inline constexpr std::array<const char*, ObjectCount> ObjectKeys = {"Background", "ProgressBar", "VolumeBar"};
inline constexpr const char* StatusLineKey = "StatusLine";

enum TextItemIndex { TrackNumberItem, PlaylistItem, ArtistItem, TitleItem, AlbumItem,
                     TimeItem, TimeCurrentItem, TimeElapsedItem, SoftLabelItem };
enum PictureIndex { TitlePicturePos, SoftPicturePos, BackwardPos, PlayPos, PausePos,
                    StopPos, ForwardPos, RandomPos, RepetitionOnePos, RepetitionAllPos };
enum ObjectIndex { BackgroundObject, ProgressBarObject, VolumeBarObject };

// The keys of a category in model order (StatusLineKey alone for Settings).
std::span<const char* const> ElementKeys(SkinCategory category);

// A key as messages and captions name it, without the blank some keys end in ("Title ").
std::string KeyName(std::string_view key);

// Background's W and H are not a size but its right and bottom edges.
inline constexpr ObjectIndex EdgeSizedObject = BackgroundObject;

// ---- The words of an element's line -----------------------------------------

enum class FieldId { X, Y, W, H, Anchor, FontId, StyleCode, Color, SecondColor, Setting };
enum class WordKind { Number, Color };

struct LineField {
    FieldId id;
    const char* name;    // as check names it
    WordKind kind;
    const char* written; // what write-back always puts there; null: the editor's value
};

// The value words after "= ", in order. Write-back ends a text line with the second
// colour "0x000000FF" and a picture line with the anchor " 20", whatever they held.
std::span<const LineField> LineLayout(SkinCategory category);

// The 1-based word number of field in category's lines; 0 when the line has none.
std::size_t WordOf(SkinCategory category, FieldId field);

// ---- Text anchors and styles -------------------------------------------------

// A text's anchor is the sum of a horizontal and a vertical part. 64 is no part the
// phone names, yet it places text as TOP does; files in the wild use it.
enum AnchorPart : std::int32_t {
    AnchorHCenter = 1, AnchorVCenter = 2, AnchorLeft = 4, AnchorRight = 8,
    AnchorTop = 16, AnchorBottom = 32, AnchorTopLike = 64,
};

// The twelve anchors the phone knows, in ascending order.
inline constexpr std::array<std::int32_t, 12> TextAnchors = {
    AnchorVCenter + AnchorHCenter, AnchorVCenter + AnchorLeft, AnchorVCenter + AnchorRight,
    AnchorTop + AnchorHCenter, AnchorTop + AnchorLeft, AnchorTop + AnchorRight,
    AnchorBottom + AnchorHCenter, AnchorBottom + AnchorLeft, AnchorBottom + AnchorRight,
    AnchorTopLike + AnchorHCenter, AnchorTopLike + AnchorLeft, AnchorTopLike + AnchorRight};

bool IsTextAnchor(std::int32_t anchor);

// Where a text lies from its anchor point along one axis. A value that is not one of
// the twelve anchors places the text's top-left corner at the point.
enum class TextSide { After, Centred, Before };
TextSide HorizontalSide(std::int32_t anchor);
TextSide VerticalSide(std::int32_t anchor);

// What a style code draws: a set of these flags.
enum FontStyleFlag : std::uint8_t { FontBold = 1, FontItalic = 2 };
using FontStyleSet = std::uint8_t;

struct TextStyle {
    std::int32_t code;
    const char* name; // as the editor's list shows it
    FontStyleSet style;
};

// The style codes, in the editor's list order. Every other code draws plain.
inline constexpr std::array<TextStyle, 4> TextStyles = {{
    {255, "PLAIN", 0},
    {1, "ITALIC", FontItalic},
    {2, "BOLD", FontBold},
    {3, "BOLD_ITALIC", FontBold | FontItalic},
}};

// The style of code; nothing when it is not one of TextStyles.
const TextStyle* StyleOfCode(std::int32_t code);

// ---- Play states ----------------------------------------------------------------

// The player's states, as the editor's list names them; the preview shows buttons by
// the state.
inline constexpr std::array<const char*, 5> PlayStateNames = {"Backward", "Play", "Pause", "Stop", "Forward"};

// ---- Pictures ------------------------------------------------------------------

inline constexpr int SkinPictureCount = 15; // "0.gif" to "14.gif"

// When the preview draws a picture at its position.
enum class PictureShown { Always, ButtonDisabled, ButtonEnabled, RepetitionOne, RepetitionAll };

struct PictureRole {
    int number;          // "N.gif"
    const char* name;    // as the resources page lists it
    PictureIndex placedBy;
    PictureShown shown;
};

// In load order: each button's disabled picture, then its enabled one.
inline constexpr std::array<PictureRole, SkinPictureCount> PictureRoles = {{
    {0, "SoftPicture", SoftPicturePos, PictureShown::Always},
    {1, "TitlePicture", TitlePicturePos, PictureShown::Always},
    {2, "Backward disabled", BackwardPos, PictureShown::ButtonDisabled},
    {7, "Backward enabled", BackwardPos, PictureShown::ButtonEnabled},
    {3, "Play disabled", PlayPos, PictureShown::ButtonDisabled},
    {8, "Play enabled", PlayPos, PictureShown::ButtonEnabled},
    {4, "Pause disabled", PausePos, PictureShown::ButtonDisabled},
    {9, "Pause enabled", PausePos, PictureShown::ButtonEnabled},
    {5, "Stop disabled", StopPos, PictureShown::ButtonDisabled},
    {10, "Stop enabled", StopPos, PictureShown::ButtonEnabled},
    {6, "Forward disabled", ForwardPos, PictureShown::ButtonDisabled},
    {11, "Forward enabled", ForwardPos, PictureShown::ButtonEnabled},
    {12, "Random", RandomPos, PictureShown::Always},
    {13, "RepetitionOne", RepetitionOnePos, PictureShown::RepetitionOne},
    {14, "RepetitionAll", RepetitionAllPos, PictureShown::RepetitionAll},
}};

// The role of "N.gif"; number must be 0 to 14.
const PictureRole& RoleOfPicture(int number);

// The picture drawn at a position when shown holds; -1 when there is none.
int PictureAt(PictureIndex position, PictureShown shown);

// ---- Fonts -------------------------------------------------------------------------

// Whether the preview's font size table has an entry for the id: 1 to 10, 12 to 14.
bool FontIdHasSize(std::int32_t fontId);

// The size of ids without an entry: 0, the face's default height.
inline constexpr int DefaultFontSize = 0;

// The point size for a font id: every table entry is 0 (the face's default height),
// and ids without an entry get DefaultFontSize.
int FontSizeOfId(std::int32_t fontId);
