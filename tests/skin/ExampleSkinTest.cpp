#include "SkinDocument.h"
#include "SkinLoader.h"

#include <gtest/gtest.h>

namespace {

const QString kExample = QStringLiteral(VELLUMARK_SOURCE_DIR "/examples/skins/harbour/Ruvex.rvk");

TEST(ExampleSkin, LoadsWithEveryKeyAndEveryPicture)
{
    SkinDocument doc;
    ASSERT_NO_THROW(LoadSkin(doc, kExample));
    EXPECT_TRUE(doc.SkinLoaded);
    for (const char* key : TextItemKeys)
        EXPECT_NE(doc.Lines.FindKey(key), -1) << key;
    for (const char* key : PictureKeys)
        EXPECT_NE(doc.Lines.FindKey(key), -1) << key;
    for (const char* key : ObjectKeys)
        EXPECT_NE(doc.Lines.FindKey(key), -1) << key;
    for (int n = 0; n < SkinPictureCount; ++n)
        EXPECT_FALSE(doc.Pictures[n].isNull()) << n;
    // Disabled buttons are drawn over the background, so they carry transparency.
    EXPECT_EQ(qAlpha(doc.Pictures[3].pixel(0, 0)), 0);
    EXPECT_EQ(doc.Model.StatusLine, 1);
}

} // namespace
