#include "AboutBox.h"

#include <QLabel>

#include <gtest/gtest.h>

TEST(AboutBox, IsAFixedBoxWithoutCloseButtonWhoseCreditsFitTheirLabel)
{
    const TAbout about;
    EXPECT_EQ(about.findChild<QLabel*>("ProgVer")->text(), QString::fromLatin1(ProgramCaption));
    EXPECT_FALSE(about.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(about.windowFlags().testFlag(Qt::WindowSystemMenuHint));
    EXPECT_EQ(about.minimumSize(), about.maximumSize());

    const auto* credits = about.findChild<QLabel*>("sLabel1");
    EXPECT_FALSE(credits->font().family().isEmpty());
    EXPECT_LE(credits->heightForWidth(credits->width()), credits->height());
}
