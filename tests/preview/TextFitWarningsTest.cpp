// Where a sample text does not fit: measured on the boxes the drawing reported, told
// at the text item's line, as check prints it.
#include "TextFitWarnings.h"

#include <gtest/gtest.h>

TEST(TextFitWarnings, EdgesAndOverlapsAreMeasuredOnTheDrawnBoxesAndToldAtTheirLines)
{
    const SkinLines lines({"; texts", "Artist = 100 40 20 1 255 0xFFFFFF00 0x000000FF",
                           "Title = 90 51 20 1 255 0xFFFFFF00 0x000000FF",
                           "SoftLabel = 6 210 20 1 255 0xFFFFFF00 0x000000FF"});
    const TextLines texts = {"1", "List", "Mira", "Harbour", "Album", "3:45", "1:02", "-2:43", "Menu", "Back"};
    const std::vector<DrawnElement> drawn = {
        {SkinCategory::Objects, "Background", QRect(-10, -10, 300, 300)}, // no text: never warned of
        {SkinCategory::Strings, "Artist", QRect(100, 40, 88, 14)},        // 12 px past the right edge
        {SkinCategory::Strings, "Title ", QRect(90, 51, 30, 14)},         // shares 20 x 3 px with Artist
        {SkinCategory::Strings, "SoftLabel", QRect(6, 190, 20, 14)},      // fits
        {SkinCategory::Strings, "SoftLabel", QRect(-4, 210, 30, 14), true}, // the right soft label
    };
    const std::vector<SkinProblem> warnings = TextFitWarnings(drawn, lines, texts);
    std::vector<std::string> printed;
    for (const SkinProblem& warning : warnings)
        printed.push_back(WarningLine(warning));
    EXPECT_EQ(printed,
              (std::vector<std::string>{
                  "Ruvex.rvk:2: warning: \"Artist\": the sample text \"Mira\" runs 12 px past the right edge of the screen",
                  "Ruvex.rvk:3: warning: \"Title\": the sample text \"Harbour\" overlaps \"Artist\" by 3 px",
                  "Ruvex.rvk:4: warning: \"SoftLabel\": the right soft label's sample text \"Back\" runs 4 px past the "
                  "left edge of the screen",
                  "Ruvex.rvk:4: warning: \"SoftLabel\": the right soft label's sample text \"Back\" runs 4 px past the "
                  "bottom edge of the screen",
              }));
    // A view goes to the element by its key, blank and all.
    ASSERT_EQ(warnings.size(), 4u);
    EXPECT_EQ(warnings[1].key, "Title ");
    EXPECT_EQ(warnings[1].category, SkinCategory::Strings);
}
